#include "tests/e2e/Screenshot.h"

#include <cstdio>
#include <vector>

#include "framework/Gdi.h"

namespace {

// Rows of a 24-bit bitmap are padded to whole 32-bit words.
int RowBytes(int width) {
    return (width * 3 + 3) / 4 * 4;
}

}  // namespace

bool SaveWindowPicture(HWND window, const std::wstring& path) {
    RECT area{};
    if (!::GetWindowRect(window, &area)) {
        return false;
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    ClientDC screen(nullptr);
    MemoryDC copy;
    if (!copy.create(screen.get(), width, height) ||
        !::BitBlt(copy.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY)) {
        return false;
    }
    BITMAPINFOHEADER format{};
    format.biSize = sizeof format;
    format.biWidth = width;
    format.biHeight = height;  // bottom-up, as BMP files store their rows
    format.biPlanes = 1;
    format.biBitCount = 24;
    format.biCompression = BI_RGB;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(RowBytes(width)) *
                                      static_cast<std::size_t>(height));
    if (::GetDIBits(copy.get(), copy.bitmap(), 0, static_cast<UINT>(height), pixels.data(),
                    reinterpret_cast<BITMAPINFO*>(&format), DIB_RGB_COLORS) != height) {
        return false;
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof format;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(&format, sizeof format, 1, out) == 1 &&
                         std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
    return std::fclose(out) == 0 && written;
}
