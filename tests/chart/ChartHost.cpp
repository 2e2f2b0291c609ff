#include "ChartHost.h"

#include <cstdio>

namespace {
constexpr wchar_t kHostClass[] = L"PalvexChartHost";

void RegisterHostClass() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW existing{};
    if (::GetClassInfoW(instance, kHostClass, &existing) != FALSE) {
        return;
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = kHostClass;
    ::RegisterClassW(&wc);
}
}  // namespace

ChartHost::ChartHost(int width, int height) {
    RegisterHostClass();
    CPlotCtrl::RegisterWindowClass();
    hwnd_ =
        ::CreateWindowExW(0, kHostClass, L"chart host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                          0, width, height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    PumpMessages();
}

ChartHost::~ChartHost() {
    if (hwnd_ != nullptr) {
        ::DestroyWindow(hwnd_);
    }
    PumpMessages();
}

bool ChartHost::Attach(CPlotCtrl& plot, int x, int y, int width, int height) const {
    HWND child =
        ::CreateWindowExW(0, CPlotCtrl::kWindowClass, L"", WS_CHILD | WS_VISIBLE, x, y, width,
                          height, hwnd_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    return child != nullptr && plot.SubclassWindow(child);
}

void ChartHost::PumpMessages() {
    // Bounded: a timer whose renders take longer than its period never lets the queue run
    // empty on a slow machine.
    constexpr int kPumpedMessages = 1000;
    MSG msg;
    for (int handled = 0;
         handled < kPumpedMessages && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE;
         ++handled) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

SIZE DialogUnitsToPixels(int width, int height, const wchar_t* face, int pointSize, bool bold) {
    HDC screen = ::GetDC(nullptr);
    LOGFONTW description{};
    description.lfHeight = -::MulDiv(pointSize, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    description.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    ::wcsncpy(description.lfFaceName, face, LF_FACESIZE - 1);
    HFONT font = ::CreateFontIndirectW(&description);
    HGDIOBJ previous = ::SelectObject(screen, font);
    // Dialog base units as the dialog manager takes them: the average width of the 52
    // letters and the character height.
    static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE letters{};
    ::GetTextExtentPoint32W(screen, kLetters, 52, &letters);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(screen, &metrics);
    ::SelectObject(screen, previous);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
    const int baseX = (letters.cx / 26 + 1) / 2;
    const int baseY = metrics.tmHeight;
    return {::MulDiv(width, baseX, 4), ::MulDiv(height, baseY, 8)};
}

Snapshot Snapshot::OfBitmap(HDC dc, HBITMAP bitmap) {
    Snapshot shot;
    BITMAP info{};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(info), &info) == 0) {
        return shot;
    }
    shot.width_ = info.bmWidth;
    shot.height_ = info.bmHeight;
    shot.pixels_.resize(static_cast<size_t>(shot.width_) * shot.height_);
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = shot.width_;
    header.bmiHeader.biHeight = -shot.height_;  // top row first
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(shot.height_), shot.pixels_.data(), &header,
                DIB_RGB_COLORS);
    return shot;
}

Snapshot Snapshot::OfWindow(HWND hwnd) {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    HDC window = ::GetDC(hwnd);
    HDC memory = ::CreateCompatibleDC(window);
    HBITMAP bitmap = ::CreateCompatibleBitmap(window, client.right, client.bottom);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    Snapshot shot = OfBitmap(memory, bitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(hwnd, window);
    return shot;
}

COLORREF Snapshot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return CLR_INVALID;
    }
    const std::uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Snapshot::Count(COLORREF colour, RECT area) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (At(x, y) == colour) {
                ++count;
            }
        }
    }
    return count;
}

bool Snapshot::SaveBmp(const std::wstring& path) const {
    FILE* file = ::_wfopen(path.c_str(), L"wb");
    if (file == nullptr) {
        return false;
    }
    const int rowBytes = (width_ * 3 + 3) & ~3;
    BITMAPFILEHEADER fileHeader{};
    BITMAPINFOHEADER infoHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof(fileHeader) + sizeof(infoHeader);
    fileHeader.bfSize = fileHeader.bfOffBits + static_cast<DWORD>(rowBytes) * height_;
    infoHeader.biSize = sizeof(infoHeader);
    infoHeader.biWidth = width_;
    infoHeader.biHeight = height_;  // bottom row first
    infoHeader.biPlanes = 1;
    infoHeader.biBitCount = 24;
    infoHeader.biCompression = BI_RGB;
    bool ok = std::fwrite(&fileHeader, sizeof(fileHeader), 1, file) == 1 &&
              std::fwrite(&infoHeader, sizeof(infoHeader), 1, file) == 1;
    std::vector<unsigned char> row(static_cast<size_t>(rowBytes), 0);
    for (int y = height_ - 1; ok && y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
            row[static_cast<size_t>(x) * 3] = p & 0xFF;
            row[static_cast<size_t>(x) * 3 + 1] = (p >> 8) & 0xFF;
            row[static_cast<size_t>(x) * 3 + 2] = (p >> 16) & 0xFF;
        }
        ok = std::fwrite(row.data(), row.size(), 1, file) == 1;
    }
    return std::fclose(file) == 0 && ok;
}
