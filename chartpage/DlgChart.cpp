#include "chartpage/DlgChart.h"

#include "res/resource.h"

DlgChart::DlgChart() : CDialogEx(IDD_CHART_PAGE) {}

// Enter inside the page neither closes it nor applies an edit.
void DlgChart::OnOK() {}
