#include "capture/SystemLanguage.h"

#include <windows.h>

ReportLanguage SystemReportLanguage() {
    return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_CHINESE ? ReportLanguage::Chinese
                                                                       : ReportLanguage::English;
}
