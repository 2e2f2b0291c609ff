#pragma once
// The "曲线显示" page: four live quantity charts with their X and Y settings.

#include "framework/Dialog.h"

class DlgChart : public CDialogEx {
  public:
    DlgChart();

  protected:
    void OnOK() override;
};
