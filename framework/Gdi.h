#pragma once
// RAII owners for device contexts and GDI objects, so that every pen, brush, font and
// bitmap is deselected and deleted on every path.

#include <windows.h>

#include <cstdint>
#include <utility>

// Owns one GDI object handle and deletes it on destruction.
template <class Handle>
class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(Handle handle = nullptr) {
        if (handle_ != nullptr) {
            ::DeleteObject(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = nullptr;
};

using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

// Selects an object into a DC for the lifetime of the scope, then restores the previous one.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (previous_ != nullptr) {
            ::SelectObject(dc_, previous_);
        }
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The DC of a window's client area (GetDC / ReleaseDC).
class ClientDC {
  public:
    explicit ClientDC(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~ClientDC() {
        if (dc_ != nullptr) {
            ::ReleaseDC(hwnd_, dc_);
        }
    }
    ClientDC(const ClientDC&) = delete;
    ClientDC& operator=(const ClientDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// The DC of one WM_PAINT (BeginPaint / EndPaint).
class PaintDC {
  public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &paint_)) {}
    ~PaintDC() { ::EndPaint(hwnd_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }
    const PAINTSTRUCT& paint() const { return paint_; }

  private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A memory DC with a bitmap (compatible, or a DIB section) selected into it for the DC's
// whole life.
class MemoryDC {
  public:
    MemoryDC() = default;
    ~MemoryDC() { reset(); }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    // Creates the DC and a bitmap of the given size, both compatible with reference.
    bool create(HDC reference, int width, int height) {
        return adopt(reference, ::CreateCompatibleBitmap(reference, width, height), width, height);
    }
    // Creates the DC and a 32-bit top-down DIB section of the given size, whose pixels the
    // program may also write itself (pixels()).
    bool createDib(HDC reference, int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        if (!adopt(reference,
                   ::CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0), width,
                   height)) {
            return false;
        }
        pixels_ = static_cast<std::uint32_t*>(bits);
        return true;
    }
    void reset() {
        if (dc_ != nullptr) {
            if (previousBitmap_ != nullptr) {
                ::SelectObject(dc_, previousBitmap_);
            }
            ::DeleteDC(dc_);
        }
        dc_ = nullptr;
        previousBitmap_ = nullptr;
        bitmap_.reset();
        pixels_ = nullptr;
        size_ = {};
    }

    HDC get() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_.get(); }
    SIZE size() const { return size_; }
    // The top row of a DIB made by createDib, rows of size().cx pixels; null otherwise.
    std::uint32_t* pixels() const { return pixels_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    bool adopt(HDC reference, HBITMAP bitmap, int width, int height) {
        reset();
        bitmap_.reset(bitmap);
        dc_ = bitmap_ ? ::CreateCompatibleDC(reference) : nullptr;
        previousBitmap_ = dc_ != nullptr ? ::SelectObject(dc_, bitmap_.get()) : nullptr;
        if (dc_ == nullptr) {
            bitmap_.reset();
            return false;
        }
        size_ = {width, height};
        return true;
    }

    HDC dc_ = nullptr;
    Bitmap bitmap_;
    HGDIOBJ previousBitmap_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    SIZE size_{};
};
