#pragma once
// The "曲线显示" page: four live quantity charts with their X and Y settings.

#include "device/TouchSampleStore.h"
#include "framework/Dialog.h"

class DlgChart : public CDialogEx {
  public:
    DlgChart();

    // The store the page draws from; the main dialog sets it before WM_CHART_SETUP.
    void SetStore(TouchSampleStore* store) { store_ = store; }

  protected:
    void OnOK() override;

  private:
    TouchSampleStore* store_ = nullptr;  // not owned
};
