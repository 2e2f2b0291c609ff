// What the control renders, read back from the pixels of its off-screen bitmap and of the
// painted window, and when it renders.

#include "ChartFixture.h"
#include "chart/PlotCursor.h"
#include "chart/PlotGrid.h"
#include "chart/PlotLegend.h"
#include "chart/PlotLineSeries.h"
#include "chart/PlotScrollBar.h"
#include "chart/PlotTitle.h"

#include <vector>

namespace {

constexpr COLORREF kBackground = RGB(10, 20, 30);
constexpr COLORREF kBorder = RGB(200, 0, 200);
constexpr COLORREF kAxisLine = RGB(0, 0, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kSeries = RGB(250, 100, 0);

class ChartRender : public ChartFixture {
  protected:
    void SetUp() override {
        ChartFixture::SetUp();
        plot_.SetRefreshEnabled(false);
        plot_.SetBackgroundColor(kBackground);
        plot_.SetBorderColor(kBorder);
        bottom_->SetLineColor(kAxisLine);
        left_->SetLineColor(kAxisLine);
        left_->GetGrid().SetVisible(false);  // only the vertical grid lines of the X axis
        plot_.SetRefreshEnabled(true);
    }

    CPlotLineSeries* AddSeries(std::vector<double> x, std::vector<double> y) {
        CPlotLineSeries* series = plot_.CreateLineSeries(false, false);
        series->SetColor(kSeries);
        series->SetPoints(x.data(), y.data(), static_cast<unsigned>(x.size()));
        return series;
    }
};

TEST_F(ChartRender, BackgroundEdgeFrameAxesAndTickMarks) {
    const Snapshot image = Rendered();
    const RECT p = plot_.GetPlottingRect();
    ASSERT_EQ(image.width(), kWidth);
    ASSERT_EQ(image.height(), kHeight);
    EXPECT_EQ(image.At(kWidth / 2, 5), kBackground);
    // The raised edge: light outer top-left, dark outer bottom-right.
    EXPECT_EQ(image.At(0, kHeight / 2), ::GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(image.At(kWidth - 1, kHeight / 2), ::GetSysColor(COLOR_3DDKSHADOW));

    // Axes take their margins: the plotting rectangle lies inside the deflated client area.
    EXPECT_GT(p.left, 3);
    EXPECT_LT(p.bottom, kHeight - 3);
    for (int x = p.left; x <= p.right; ++x) {
        ASSERT_EQ(image.At(x, p.top), kBorder) << x;
        ASSERT_EQ(image.At(x, p.bottom), kBorder) << x;
    }
    for (int y = p.top; y <= p.bottom; ++y) {
        ASSERT_EQ(image.At(p.left, y), kBorder) << y;
        ASSERT_EQ(image.At(p.right, y), kBorder) << y;
    }
    // Axis lines just outside the frame, tick marks three pixels long below the X axis.
    EXPECT_EQ(image.At((p.left + p.right) / 2, p.bottom + 1), kAxisLine);
    EXPECT_EQ(image.At(p.left - 1, (p.top + p.bottom) / 2), kAxisLine);
    for (int k = 0; k <= 10; ++k) {
        const int x = bottom_->ValueToScreen(k);
        EXPECT_EQ(image.At(x, p.bottom + 3), kAxisLine) << k;
        EXPECT_NE(image.At(x, p.bottom + 4), kAxisLine) << k;
    }
}

TEST_F(ChartRender, GreyDottedGridAtEveryTick) {
    const Snapshot image = Rendered();
    const RECT p = plot_.GetPlottingRect();
    ASSERT_EQ(bottom_->GetGrid().Ticks().size(), 11u);
    // Ticks 0 and 10 lie under the frame; the others show three pixels on, three off,
    // counted from the bottom edge upward.
    for (int k = 1; k <= 9; ++k) {
        const int x = bottom_->ValueToScreen(k);
        for (int y = p.bottom - 1; y > p.top; --y) {
            const bool on = (p.bottom - y) % 6 < 3;
            ASSERT_EQ(image.At(x, y) == kGrey, on) << "tick " << k << " y " << y;
        }
    }
    EXPECT_EQ(image.Count(kGrey), 9 * image.Count(kGrey, {bottom_->ValueToScreen(5), 0,
                                                          bottom_->ValueToScreen(5) + 1, kHeight}));
}

TEST_F(ChartRender, GridOfTheVerticalAxisRunsFromTheLeftAndCrossesTheOther) {
    left_->GetGrid().SetVisible(true);
    const Snapshot image = Rendered();
    const RECT p = plot_.GetPlottingRect();
    ASSERT_EQ(left_->GetGrid().Ticks().size(), 11u);
    for (int k = 1; k <= 9; ++k) {
        const int y = left_->ValueToScreen(k);
        for (int x = p.left + 1; x < p.right; ++x) {
            const bool onOwnDash = (x - p.left) % 6 < 3;
            const bool onCrossingLine = ((p.bottom - y) % 6 < 3) && [&] {
                for (int j = 1; j <= 9; ++j) {
                    if (bottom_->ValueToScreen(j) == x) {
                        return true;
                    }
                }
                return false;
            }();
            ASSERT_EQ(image.At(x, y) == kGrey, onOwnDash || onCrossingLine)
                << "tick " << k << " x " << x;
        }
    }
}

// The off-screen DC maps one to one; a DC with a moved viewport (as a printer's may have)
// must get the very same picture, only moved.
TEST_F(ChartRender, AMovedViewportGetsTheSamePictureMoved) {
    left_->GetGrid().SetVisible(true);
    AddSeries({0, 3, 10}, {1, 9, 4});
    constexpr int kShift = 7;
    auto paint = [this](int shift) {
        MemoryDC target;
        target.create(plot_.GetOffscreenDC(), kWidth + kShift, kHeight + kShift);
        ::SetViewportOrgEx(target.get(), shift, shift, nullptr);
        plot_.PaintChart(target.get(), {0, 0, kWidth, kHeight});
        ::SetViewportOrgEx(target.get(), 0, 0, nullptr);
        return Snapshot::OfBitmap(target.get(), target.bitmap());
    };
    const Snapshot straight = paint(0);
    const Snapshot moved = paint(kShift);
    ASSERT_GT(straight.Count(kGrey), 0);
    ASSERT_GT(straight.Count(kSeries), 0);
    int differing = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            differing += straight.At(x, y) != moved.At(x + kShift, y + kShift) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(ChartRender, MarginsFollowTheWidthOfTheLabelsAndTheTickFont) {
    const RECT small = plot_.GetPlottingRect();
    left_->SetRange(0, 100000);
    const RECT wideLabels = plot_.GetPlottingRect();
    EXPECT_GT(wideLabels.left, small.left);
    left_->SetRange(0, 10);
    EXPECT_EQ(plot_.GetPlottingRect().left, small.left);

    left_->SetTickFont(160, L"Microsoft Sans Serif");
    bottom_->SetTickFont(160, L"Microsoft Sans Serif");
    const RECT largeFont = plot_.GetPlottingRect();
    EXPECT_GT(largeFont.left, small.left);
    EXPECT_LT(largeFont.bottom, small.bottom);
}

TEST_F(ChartRender, SeriesPolylineInItsColourClippedToThePlottingRectangle) {
    AddSeries({-5, 15}, {5, 5});
    const Snapshot image = Rendered();
    const RECT p = plot_.GetPlottingRect();
    const int y = left_->ValueToScreen(5);
    for (int x = p.left; x <= p.right; ++x) {
        ASSERT_EQ(image.At(x, y), kSeries) << x;
    }
    EXPECT_NE(image.At(p.left - 1, y), kSeries);
    EXPECT_NE(image.At(p.right + 1, y), kSeries);
    EXPECT_EQ(image.Count(kSeries), p.right - p.left + 1);

    // A diagonal leaving the rectangle at the top is cut there too.
    AddSeries({0, 10}, {0, 20})->SetColor(RGB(0, 200, 0));
    const Snapshot diagonal = Rendered();
    EXPECT_GT(diagonal.Count(RGB(0, 200, 0)), 0);
    EXPECT_EQ(diagonal.Count(RGB(0, 200, 0), {0, 0, kWidth, p.top}), 0);
}

// After a deep zoom the ends of a line lie millions of pixels away; the part in view must
// still run where the line runs.
TEST_F(ChartRender, ALineWithFarAwayEndsKeepsItsCourseThroughTheView) {
    const RECT p = plot_.GetPlottingRect();
    const double pixelsPerX = (p.right - p.left) / 10.0;
    const double pixelsPerY = (p.bottom - p.top) / 10.0;
    // Through the middle (5, 5), three pixels right for every pixel up, ends 1e9 pixels off.
    const double reach = 1e9;
    AddSeries({5 - 3 * reach / pixelsPerX, 5 + 3 * reach / pixelsPerX},
              {5 - reach / pixelsPerY, 5 + reach / pixelsPerY});
    const Snapshot image = Rendered();
    const int cx = bottom_->ValueToScreen(5);
    const int cy = left_->ValueToScreen(5);
    int drawn = 0;
    for (int y = p.top + 1; y < p.bottom; ++y) {
        for (int x = p.left + 1; x < p.right; ++x) {
            if (image.At(x, y) == kSeries) {
                ++drawn;
                ASSERT_NEAR(y, cy - (x - cx) / 3.0, 1.5) << "x " << x;
            }
        }
    }
    EXPECT_GT(drawn, (p.right - p.left) / 2);
}

TEST_F(ChartRender, SinglePointsHiddenAndEmptySeriesDrawNothing) {
    AddSeries({5}, {5});
    AddSeries({5, 5.001}, {5, 5.001});  // two points on one pixel
    AddSeries({}, {});
    AddSeries({0, 10}, {0, 10})->SetVisible(false);
    EXPECT_EQ(Rendered().Count(kSeries), 0);
}

TEST_F(ChartRender, CursorsAndZoomRectangleOnlyOnThePaintedWindow) {
    constexpr COLORREF kCursor = RGB(0, 255, 0);
    constexpr COLORREF kZoom = RGB(1, 254, 3);
    CPlotDragLineCursor* cursor = plot_.CreateDragLineCursor(kAxisBottom);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->GetPosition(), 0);  // until it is given a value
    cursor->SetColor(kCursor);
    cursor->MoveToValue(5);
    plot_.SetZoomRectColor(kZoom);
    Send(WM_LBUTTONDOWN, ScreenOf(2, 8), MK_LBUTTON);
    Send(WM_MOUSEMOVE, ScreenOf(6, 4), MK_LBUTTON);

    EXPECT_EQ(Rendered().Count(kCursor), 0);
    EXPECT_EQ(Rendered().Count(kZoom), 0);
    const Snapshot screen = Painted();
    const RECT p = plot_.GetPlottingRect();
    const int x = bottom_->ValueToScreen(5);
    EXPECT_EQ(screen.Count(kCursor, {x, p.top, x + 1, p.bottom}), p.bottom - p.top);
    EXPECT_EQ(screen.At(ScreenOf(2, 8).x, ScreenOf(2, 8).y), kZoom);
    EXPECT_EQ(screen.At(ScreenOf(6, 4).x, ScreenOf(2, 8).y), kZoom);
    EXPECT_EQ(screen.At(ScreenOf(4, 6).x, ScreenOf(4, 6).y),
              Rendered().At(ScreenOf(4, 6).x, ScreenOf(4, 6).y));
    Send(WM_LBUTTONUP, ScreenOf(6, 4));
}

TEST_F(ChartRender, TitleAndLegendTakeSpaceOnlyWhenTheyHaveSomethingToShow) {
    const RECT plain = plot_.GetPlottingRect();
    plot_.GetLegend().SetVisible(true);
    AddSeries({0, 10}, {0, 10});  // no name: no legend entry
    EXPECT_TRUE(::EqualRect(&plain, &plot_.GetPlottingRect()));

    plot_.FirstSeries()->SetName(L"line");
    plot_.GetTitle().AddLine(L"Title");
    const RECT dressed = plot_.GetPlottingRect();
    EXPECT_GT(dressed.top, plain.top);
    EXPECT_LT(dressed.right, plain.right);
    EXPECT_LT(dressed.right, plot_.GetLegend().GetRect().left) << "docked right";
}

TEST_F(ChartRender, ReplacingAnAxisMovesItsSeriesAndCursorsToTheNewOne) {
    CPlotLineSeries* series = AddSeries({0, 10}, {0, 10});
    CPlotDragLineCursor* cursor = plot_.CreateDragLineCursor(kAxisBottom);
    CPlotStandardAxis* replacement = plot_.CreateStandardAxis(kAxisBottom);
    EXPECT_EQ(series->GetHorizontalAxis(), replacement);
    EXPECT_EQ(cursor->GetAxis(), replacement);
    replacement->SetRange(0, 20);
    plot_.Refresh();
    EXPECT_GT(Rendered().Count(kSeries), 0);
}

TEST_F(ChartRender, ElevenSeriesWrapAroundTheDefaultColours) {
    std::vector<CPlotLineSeries*> series;
    for (int i = 0; i < 11; ++i) {
        series.push_back(plot_.CreateLineSeries(false, false));
    }
    EXPECT_EQ(series[1]->GetColor(), RGB(0, 150, 0));
    EXPECT_EQ(series[10]->GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(plot_.CreateLineSeries(true, false), nullptr);  // there is no top axis
    EXPECT_EQ(plot_.CreateDragLineCursor(kAxisRight), nullptr);
}

TEST_F(ChartRender, RendersExactlyWhenTheRefreshCounterAllows) {
    const unsigned start = plot_.GetRenderCount();
    plot_.SetRefreshEnabled(false);
    plot_.SetRefreshEnabled(false);
    plot_.Refresh();
    plot_.SetRefreshEnabled(true);
    EXPECT_EQ(plot_.GetRenderCount(), start);
    plot_.SetRefreshEnabled(true);
    EXPECT_EQ(plot_.GetRenderCount(), start + 1);

    // Every SetPoints renders once; bracketed, a whole burst renders once.
    CPlotLineSeries* a = AddSeries({0, 10}, {0, 10});
    CPlotLineSeries* b = AddSeries({0, 10}, {10, 0});
    const double x[] = {0, 5, 10};
    const double y[] = {1, 2, 3};
    const unsigned before = plot_.GetRenderCount();
    a->SetPoints(x, y, 3);
    EXPECT_EQ(plot_.GetRenderCount(), before + 1);
    plot_.SetRefreshEnabled(false);
    a->SetPoints(x, y, 3);
    b->SetPoints(x, y, 3);
    plot_.SetRefreshEnabled(true);
    EXPECT_EQ(plot_.GetRenderCount(), before + 2);

    // Painting copies the image; only the first paint renders.
    Painted();
    const unsigned painted = plot_.GetRenderCount();
    Painted();
    EXPECT_EQ(plot_.GetRenderCount(), painted);
    plot_.RemoveAllSeries();
    EXPECT_EQ(plot_.GetRenderCount(), painted + 1);
    EXPECT_EQ(plot_.GetSeriesCount(), 0u);
}

TEST_F(ChartRender, ResizingRecreatesTheImageAtTheNewSize) {
    ::SetWindowPos(plot_.m_hWnd, nullptr, 0, 0, 250, 120, SWP_NOMOVE | SWP_NOZORDER);
    const Snapshot image = Rendered();
    EXPECT_EQ(image.width(), 250);
    EXPECT_EQ(image.height(), 120);
}

TEST_F(ChartRender, PrintsThePageLayoutWithoutBackgroundAndRestoresTheScreenLayout) {
    AddSeries({0, 10}, {0, 10});
    const RECT screenLayout = plot_.GetPlottingRect();
    HDC page = ::CreateCompatibleDC(plot_.GetOffscreenDC());
    HBITMAP paper = ::CreateCompatibleBitmap(plot_.GetOffscreenDC(), 2000, 1500);
    HGDIOBJ previous = ::SelectObject(page, paper);
    RECT all = {0, 0, 2000, 1500};
    ::FillRect(page, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    CPlotPrintInfo info;
    plot_.BeginPrinting(page, info);
    plot_.PrintPage(page, info);
    // Laid out on three quarters of the page's resolution, drawn at full size.
    EXPECT_EQ(info.drawRect.right, ::GetDeviceCaps(page, HORZRES) * 3 / 4);
    const RECT printed = plot_.GetPlottingRect();
    EXPECT_GT(printed.right - printed.left, screenLayout.right - screenLayout.left);
    plot_.EndPrinting(page, info);
    ::SelectObject(page, previous);
    const Snapshot sheet = Snapshot::OfBitmap(page, paper);
    EXPECT_GT(sheet.Count(kBorder), 0);
    EXPECT_GT(sheet.Count(kSeries), 0);
    EXPECT_EQ(sheet.Count(kBackground), 0);
    EXPECT_TRUE(::EqualRect(&screenLayout, &plot_.GetPlottingRect()));
    ::DeleteObject(paper);
    ::DeleteDC(page);
}

TEST(ChartWithoutWindow, RefreshAndSettersDoNothingHarmful) {
    CPlotCtrl plot;
    plot.Refresh();
    plot.SetBackgroundColor(0);
    CPlotStandardAxis* axis = plot.CreateStandardAxis(kAxisBottom);
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(axis->GetScrollBar()->m_hWnd, nullptr);
    EXPECT_EQ(plot.GetRenderCount(), 0u);
    EXPECT_EQ(plot.CreateStandardAxis(7), nullptr);
}

}  // namespace
