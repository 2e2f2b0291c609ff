#include "app/PanelButtons.h"

#include "res/resource.h"

#include <algorithm>

namespace {
constexpr std::array<int, 6> kButtonIds = {IDC_OPEN_DEVICE,    IDC_CONTINUE_RECEIVING,
                                           IDC_STOP_RECEIVING, IDC_CLOSE_DEVICE,
                                           IDC_CLEAR_DATA,     IDC_EXPORT_DATA};
}  // namespace

void PanelButtons::Bind(DataExchange& dx) {
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        dx.Control(kButtonIds[i], buttons_[i]);
    }
}

void PanelButtons::Show(PanelState state) const {
    const PanelEnabling e = EnablingOf(state);
    const std::array<bool, 6> enabled = {e.open,  e.continueReceiving, e.stop, e.close,
                                         e.clear, e.exportData};
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i].EnableWindow(enabled[i]);
    }
}

bool PanelButtons::Has(UINT id) {
    return std::find(kButtonIds.begin(), kButtonIds.end(), static_cast<int>(id)) !=
           kButtonIds.end();
}
