// What the user does on the page: the X point count, the Y ranges, the X axis labels and
// the scroll bar.

#include "ChartPageFixture.h"

namespace {

constexpr UINT kWarningIcon = MB_ICONEXCLAMATION;

class ChartPageInput : public ChartPageTest {
  protected:
    void ExpectWarning(const std::wstring& text) {
        ASSERT_EQ(prompts_.shown.size(), 1u) << "for " << testing::PrintToString(text);
        EXPECT_EQ(prompts_.shown[0].text, text);
        EXPECT_EQ(prompts_.shown[0].caption, L"警告");
        EXPECT_EQ(prompts_.shown[0].type & MB_ICONMASK, kWarningIcon);
        prompts_.shown.clear();
    }
    void Scroll(int code, int position = 0) {
        Send(WM_HSCROLL, MAKEWPARAM(code, position),
             reinterpret_cast<LPARAM>(Item(IDC_WINDOW_SCROLL)));
    }
    int ScrollPosition() const { return ::GetScrollPos(Item(IDC_WINDOW_SCROLL), SB_CTL); }
};

TEST_F(ChartPageInput, RefusedPointCountsWarnAndChangeNothing) {
    SetUpPage(2, 50);  // 150 samples, 50 received
    Send(WM_CHART_REFRESH);
    const std::pair<const wchar_t*, const wchar_t*> refused[] = {
        {L"", L"写入内容不能为空!!!"},
        {L"0", L"写入内容不正确!!!"},
        {L"abc", L"写入内容不正确!!!"},
        {L"-5", L"写入内容不正确!!!"},
        {L"1000", L"写入内容不正确!!!"},
        {L"99999999999", L"写入内容不正确!!!"},
        {L"200", L"当前输入数值 200大于已接收数据数量 50\r\n 请重新输入数值！！！"},
        {L"151", L"当前输入数值 151大于已接收数据数量 50\r\n 请重新输入数值！！！"},
    };
    for (const auto& [text, warning] : refused) {
        Type(IDC_X_POINT_COUNT, text);
        ExpectWarning(warning);
        EXPECT_EQ(page_.PointCount(), 100u) << testing::PrintToString(std::wstring(text));
        EXPECT_DOUBLE_EQ(page_.CursorValue(), 2.5);
        EXPECT_EQ(Chart(SampleQuantity::Noise).PointCount(), 100u);
    }
    Type(IDC_X_POINT_COUNT, L"150");
    EXPECT_TRUE(prompts_.shown.empty());
    EXPECT_EQ(page_.PointCount(), 150u);
}

TEST_F(ChartPageInput, AcceptedPointCountScalesTheCursorAndRedrawsEveryChart) {
    SetUpPage(2, 300);
    Send(WM_CHART_REFRESH);
    Type(IDC_X_POINT_COUNT, L"200");
    EXPECT_TRUE(prompts_.shown.empty());
    EXPECT_EQ(page_.PointCount(), 200u);
    EXPECT_DOUBLE_EQ(page_.CursorValue(), 5.0);
    EXPECT_EQ(page_.WindowStart(), 200);
    for (SampleQuantity q : kAllSampleQuantities) {
        EXPECT_EQ(Chart(q).PointCount(), 200u);
        EXPECT_EQ(Chart(q).Line(1)->GetPointsCount(), 200u);
    }
    EXPECT_EQ(PointY(SampleQuantity::Baseline, 1, 0), 1000 + 100 + 100);
    // The cursor kept its place in the middle of the window: sample 300 is frame 200.
    EXPECT_EQ(Cell(IDC_BASELINE_VALUES, 1), std::to_wstring(1000 + 100 + 200));
    // The largest count the lines hold, with enough samples.
    AddFrames(700);
    Type(IDC_X_POINT_COUNT, L"999");
    EXPECT_TRUE(prompts_.shown.empty());
    EXPECT_EQ(Chart(SampleQuantity::Filtered).Line(0)->GetPointsCount(), 999u);
}

TEST_F(ChartPageInput, ManualYRangeAppliesWhenItsBoxIsUnchecked) {
    SetUpPage(2, 20);
    CPlotAxis* y = Chart(SampleQuantity::Difference).YAxis();

    ::SetWindowTextW(Item(IDC_DIFFERENCE_MAX), L"10");
    ::SetWindowTextW(Item(IDC_DIFFERENCE_MIN), L"10");
    Click(IDC_AUTO_DIFFERENCE);
    ExpectWarning(L"最大值小于最小值!!!");
    EXPECT_TRUE(Checked(IDC_AUTO_DIFFERENCE));
    EXPECT_TRUE(y->IsAutoRange());

    ::SetWindowTextW(Item(IDC_DIFFERENCE_MIN), L"");
    Click(IDC_AUTO_DIFFERENCE);
    ExpectWarning(L"最大值最小值不能为空!!!");
    EXPECT_TRUE(Checked(IDC_AUTO_DIFFERENCE));
    EXPECT_TRUE(y->IsAutoRange());

    ::SetWindowTextW(Item(IDC_DIFFERENCE_MIN), L"-20");
    Click(IDC_AUTO_DIFFERENCE);
    EXPECT_TRUE(prompts_.shown.empty());
    EXPECT_FALSE(Checked(IDC_AUTO_DIFFERENCE));
    EXPECT_FALSE(y->IsAutoRange());
    EXPECT_DOUBLE_EQ(y->GetMin(), -20);
    EXPECT_DOUBLE_EQ(y->GetMax(), 10);
    // New data and later edits keep the range until the box goes round again.
    ::SetWindowTextW(Item(IDC_DIFFERENCE_MAX), L"90");
    Send(WM_CHART_REFRESH);
    EXPECT_DOUBLE_EQ(y->GetMax(), 10);
    EXPECT_TRUE(Chart(SampleQuantity::Baseline).YAxis()->IsAutoRange()) << "only its own chart";

    Click(IDC_AUTO_DIFFERENCE);
    EXPECT_TRUE(y->IsAutoRange());
    Click(IDC_AUTO_DIFFERENCE);
    EXPECT_DOUBLE_EQ(y->GetMax(), 90);
}

TEST_F(ChartPageInput, AxisLabelBoxShowsAndHidesAllFourXAxes) {
    Click(IDC_SHOW_X_LABELS);
    for (SampleQuantity q : kAllSampleQuantities) {
        EXPECT_TRUE(Chart(q).XAxis()->IsVisible());
    }
    Click(IDC_SHOW_X_LABELS);
    for (SampleQuantity q : kAllSampleQuantities) {
        EXPECT_FALSE(Chart(q).XAxis()->IsVisible());
    }
}

TEST_F(ChartPageInput, ScrollCodesMoveTheWindowWithinTheRecording) {
    SetUpPage(2, 200);  // 300 samples, page of 100
    Send(WM_CHART_REFRESH);

    Scroll(SB_LINERIGHT);  // at the right end: the last full window
    EXPECT_EQ(ScrollPosition(), 200);
    EXPECT_EQ(page_.WindowStart(), 200);
    EXPECT_EQ(PointY(SampleQuantity::Filtered, 0, 0), 500 + 100);
    EXPECT_EQ(PointY(SampleQuantity::Filtered, 0, 99), 500 + 199);

    Scroll(SB_LINELEFT);
    EXPECT_EQ(ScrollPosition(), 199);
    EXPECT_EQ(page_.WindowStart(), 199);
    // The lists follow the window: cursor 2.5 of 5.0 from 199 is sample 249, frame 149.
    EXPECT_EQ(Cell(IDC_FILTERED_VALUES, 0), std::to_wstring(500 + 149));

    Scroll(SB_THUMBPOSITION, 201);  // released at the far right
    EXPECT_EQ(ScrollPosition(), 200);
    EXPECT_EQ(page_.WindowStart(), 200);

    Scroll(SB_THUMBPOSITION, 0);
    Scroll(SB_LINELEFT);  // at the left end
    EXPECT_EQ(ScrollPosition(), 0);
    EXPECT_EQ(page_.WindowStart(), 0);
    EXPECT_EQ(PointY(SampleQuantity::Filtered, 0, 0), 0) << "the leading zeros";

    Scroll(SB_PAGERIGHT);
    Scroll(SB_THUMBTRACK, 150);
    EXPECT_EQ(page_.WindowStart(), 0) << "the charts follow the thumb only when released";

    // A window that reaches past the newest sample draws zeros there.
    Scroll(SB_THUMBPOSITION, 250);
    EXPECT_EQ(page_.WindowStart(), 249);
    EXPECT_EQ(PointY(SampleQuantity::Filtered, 0, 50), 500 + 199);
    EXPECT_EQ(PointY(SampleQuantity::Filtered, 0, 51), 0);
}

TEST_F(ChartPageInput, ReleasedThumbKeepsItsPlaceInRecordingsBeyond16Bits) {
    AddChannels(1);
    AddFrames(70000);  // 70100 samples
    Send(WM_CHART_SETUP);
    Send(WM_CHART_REFRESH);
    ASSERT_EQ(ScrollPosition(), 70001);
    // The message has room for the low 16 bits of the thumb only; the bar knows all of it.
    Scroll(SB_THUMBPOSITION, 70001 & 0xFFFF);
    EXPECT_EQ(page_.WindowStart(), 70000);
    EXPECT_EQ(ScrollPosition(), 70000);
}

}  // namespace
