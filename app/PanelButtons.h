#pragma once
// The six buttons of the device panel, enabled as the acquisition session's state says.

#include "app/AcquisitionSession.h"
#include "framework/Controls.h"
#include "framework/DataExchange.h"

#include <array>

class PanelButtons {
  public:
    void Bind(DataExchange& dx);
    void Show(PanelState state) const;
    // True for the id of one of the six.
    static bool Has(UINT id);

  private:
    // "打开设备", "继续接收", "停止接收", "关闭设备", "清除数据", "导出数据"
    std::array<CButton, 6> buttons_;
};
