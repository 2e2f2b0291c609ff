#pragma once
// Support for running chart controls in tests, the demo pictures and the benchmarks: a
// visible top-level host window, "PlotCtrl" children bound to CPlotCtrl objects, pixel
// snapshots of device contexts and BMP files.

#include "chart/PlotCtrl.h"

#include <cstdint>
#include <string>
#include <vector>

// A visible popup window at the screen origin that parents the charts under test.
class ChartHost {
  public:
    ChartHost(int width, int height);
    ~ChartHost();
    ChartHost(const ChartHost&) = delete;
    ChartHost& operator=(const ChartHost&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Creates a "PlotCtrl" child with the given client size and binds plot to it.
    bool Attach(CPlotCtrl& plot, int x, int y, int width, int height) const;
    // Handles the queued messages of this thread, at most a thousand.
    static void PumpMessages();

  private:
    HWND hwnd_ = nullptr;
};

// The pixel size of a control of the given dialog units in a dialog that uses the font.
SIZE DialogUnitsToPixels(int width, int height, const wchar_t* face, int pointSize, bool bold);

// A copy of a bitmap's pixels, top row first.
class Snapshot {
  public:
    // Copies what bitmap holds (it must not be selected into a DC at the time, or dc
    // must be the DC it is selected into).
    static Snapshot OfBitmap(HDC dc, HBITMAP bitmap);
    // Copies the client area of a window as it is shown on screen.
    static Snapshot OfWindow(HWND hwnd);

    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF At(int x, int y) const;
    // Number of pixels of the colour inside the rectangle (half-open).
    int Count(COLORREF colour, RECT area) const;
    int Count(COLORREF colour) const { return Count(colour, {0, 0, width_, height_}); }
    bool SaveBmp(const std::wstring& path) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB as GDI stores 32-bit DIB pixels
};
