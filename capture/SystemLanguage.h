#pragma once
// The language of the system's user interface, for what palvex-capture shows people.

#include "evaluation/ReportLanguage.h"

// Chinese when the user's interface language is Chinese, English otherwise.
ReportLanguage SystemReportLanguage();
