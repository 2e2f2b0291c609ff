// Lines written into pixel memory against GDI's one-pixel pen on the same DIB: the very same
// pixels in every direction, cut to a rectangle or not, and in a whole chart.

#include "ChartFixture.h"
#include "chart/PixelLines.h"
#include "chart/PlotLineSeries.h"
#include "chart/PlotPixelTarget.h"

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kCanvas = 96;
constexpr COLORREF kInk = RGB(250, 100, 0);

// Two DIBs of the same size: one for GDI to draw into, one to write directly.
class CanvasPair {
  public:
    CanvasPair() {
        ClientDC screen(nullptr);
        gdi_.createDib(screen.get(), kCanvas, kCanvas);
        own_.createDib(screen.get(), kCanvas, kCanvas);
    }
    void Clear() {
        std::memset(gdi_.pixels(), 0, kBytes);
        std::memset(own_.pixels(), 0, kBytes);
    }
    // GDI's Polyline, cut by a clipping rectangle when one is given.
    void DrawWithGdi(const std::vector<POINT>& line, const RECT* clip) {
        if (clip != nullptr) {
            ::IntersectClipRect(gdi_.get(), clip->left, clip->top, clip->right, clip->bottom);
        }
        Pen pen(::CreatePen(PS_SOLID, 1, kInk));
        {
            ScopedSelect select(gdi_.get(), pen.get());
            ::Polyline(gdi_.get(), line.data(), static_cast<int>(line.size()));
        }
        ::SelectClipRgn(gdi_.get(), nullptr);
        ::GdiFlush();
    }
    void DrawDirectly(const std::vector<POINT>& line, const RECT* clip) {
        const PixelBox box =
            clip != nullptr
                ? PixelBox{static_cast<int>(clip->left), static_cast<int>(clip->top),
                           static_cast<int>(clip->right), static_cast<int>(clip->bottom)}
                : PixelBox{0, 0, kCanvas, kCanvas};
        const PixelSurface surface{own_.pixels(), kCanvas, kCanvas, kCanvas};
        for (size_t i = 1; i < line.size(); ++i) {
            DrawPixelSegment(surface, box, line[i - 1].x, line[i - 1].y, line[i].x, line[i].y,
                             PlotPixelTarget::PixelOf(kInk));
        }
    }
    // The first differing pixel as "x y", or "" when both are the same.
    std::string FirstDifference() const {
        for (int i = 0; i < kCanvas * kCanvas; ++i) {
            if (gdi_.pixels()[i] != own_.pixels()[i]) {
                return std::to_string(i % kCanvas) + " " + std::to_string(i / kCanvas);
            }
        }
        return {};
    }

  private:
    static constexpr size_t kBytes = sizeof(std::uint32_t) * kCanvas * kCanvas;
    MemoryDC gdi_;
    MemoryDC own_;
};

TEST(PixelLinesGdi, EverySegmentFromAPointLightsGdisPixels) {
    CanvasPair canvas;
    constexpr int kCentre = kCanvas / 2;
    for (int dy = -40; dy <= 40; ++dy) {
        for (int dx = -40; dx <= 40; ++dx) {
            const std::vector<POINT> line = {{kCentre, kCentre}, {kCentre + dx, kCentre + dy}};
            canvas.Clear();
            canvas.DrawWithGdi(line, nullptr);
            canvas.DrawDirectly(line, nullptr);
            ASSERT_EQ(canvas.FirstDifference(), "") << "to " << dx << ", " << dy;
        }
    }
}

TEST(PixelLinesGdi, PolylinesCutToARectangleLightGdisPixels) {
    CanvasPair canvas;
    std::mt19937 random(11);
    auto coordinate = [&](int reach) {
        return static_cast<LONG>(random() % (2 * reach + kCanvas)) - reach;
    };
    for (int round = 0; round < 400; ++round) {
        // Near lines, lines from a few screens away, and lines from thousands of pixels off.
        const int reach = round % 3 == 0 ? 5000 : (round % 3 == 1 ? 300 : 10);
        std::vector<POINT> line(2 + random() % 20);
        for (POINT& p : line) {
            p = {coordinate(reach), coordinate(reach)};
        }
        const LONG left = coordinate(8);
        const LONG top = coordinate(8);
        const RECT clip = {left, top, left + static_cast<LONG>(random() % kCanvas),
                           top + static_cast<LONG>(random() % kCanvas)};
        canvas.Clear();
        canvas.DrawWithGdi(line, &clip);
        canvas.DrawDirectly(line, &clip);
        ASSERT_EQ(canvas.FirstDifference(), "") << "round " << round;
    }
}

// The chart writes its lines into its own off-screen DIB; drawn into any other DC, the same
// chart goes through GDI. Both pictures must be the same, frame line and cut edges included.
using PixelLinesInTheChart = ChartFixture;

TEST_F(PixelLinesInTheChart, TheOffscreenPictureIsWhatGdiDraws) {
    std::mt19937 random(5);
    plot_.SetRefreshEnabled(false);
    for (int s = 0; s < 12; ++s) {
        std::vector<double> x(300);
        std::vector<double> y(300);
        for (size_t i = 0; i < x.size(); ++i) {
            // Around and beyond the axis ranges of 0 to 10, so that lines leave the view.
            x[i] = -2.0 + 14.0 * static_cast<double>(i) / static_cast<double>(x.size());
            y[i] = (static_cast<double>(random() % 1400) - 200.0) / 100.0;
        }
        CPlotLineSeries* series = plot_.CreateLineSeries(false, false);
        series->SetColor(RGB(random() % 256, random() % 256, random() % 256));
        series->SetPoints(x.data(), y.data(), static_cast<unsigned>(x.size()));
    }
    plot_.SetRefreshEnabled(true);

    auto paint = [this](HDC dc) {
        const RECT all = {0, 0, kWidth, kHeight};
        Brush black(::CreateSolidBrush(RGB(0, 0, 0)));
        ::FillRect(dc, &all, black.get());
        plot_.PaintChart(dc, all);
        ::GdiFlush();
    };
    paint(plot_.GetOffscreenDC());
    const Snapshot direct = Rendered();
    MemoryDC other;
    ASSERT_TRUE(other.createDib(plot_.GetOffscreenDC(), kWidth, kHeight));
    paint(other.get());
    const Snapshot throughGdi = Snapshot::OfBitmap(other.get(), other.bitmap());
    int differing = 0;
    for (int yy = 0; yy < kHeight; ++yy) {
        for (int xx = 0; xx < kWidth; ++xx) {
            differing += direct.At(xx, yy) != throughGdi.At(xx, yy) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
