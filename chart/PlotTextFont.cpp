#include "chart/PlotTextFont.h"

#include <cstdlib>
#include <cwchar>
#include <utility>

LONG PointHeightFor(int pointSizeTenths, HDC dc) {
    HDC measured = dc != nullptr ? dc : ::GetDC(nullptr);
    // Tenths of a point to device pixels, then to logical units of the DC's mapping mode.
    POINT height{0, ::MulDiv(::GetDeviceCaps(measured, LOGPIXELSY), pointSizeTenths, 720)};
    POINT origin{0, 0};
    ::DPtoLP(measured, &height, 1);
    ::DPtoLP(measured, &origin, 1);
    if (dc == nullptr) {
        ::ReleaseDC(nullptr, measured);
    }
    return -std::abs(height.y - origin.y);
}

HFONT CreatePointFontFor(const LOGFONTW& description, HDC dc) {
    LOGFONTW font = description;
    font.lfHeight = PointHeightFor(description.lfHeight, dc);
    return ::CreateFontIndirectW(&font);
}

HFONT CreatePointFontFor(int pointSizeTenths, const std::wstring& faceName, HDC dc) {
    LOGFONTW font{};
    font.lfHeight = pointSizeTenths;
    font.lfCharSet = DEFAULT_CHARSET;
    ::wcsncpy(font.lfFaceName, faceName.c_str(), LF_FACESIZE - 1);
    return CreatePointFontFor(font, dc);
}

CPlotTextFont::CPlotTextFont(std::wstring faceName, int pointSizeTenths)
    : faceName_(std::move(faceName)), pointSize_(pointSizeTenths) {}

void CPlotTextFont::SetFaceName(const std::wstring& faceName) {
    faceName_ = faceName;
    needsRecreate_ = true;
}

void CPlotTextFont::SetPointSize(int tenths) {
    pointSize_ = tenths;
    needsRecreate_ = true;
}

void CPlotTextFont::SetItalic(bool italic) {
    italic_ = italic;
    needsRecreate_ = true;
}

void CPlotTextFont::SetBold(bool bold) {
    bold_ = bold;
    needsRecreate_ = true;
}

void CPlotTextFont::SetUnderline(bool underline) {
    underline_ = underline;
    needsRecreate_ = true;
}

void CPlotTextFont::SetVertical(bool vertical) {
    vertical_ = vertical;
    needsRecreate_ = true;
}

void CPlotTextFont::Select(HDC dc) {
    if (needsRecreate_ || !font_) {
        LOGFONTW description{};
        description.lfHeight = pointSize_;
        // Face names hold at most 30 characters plus the terminator.
        ::wcsncpy(description.lfFaceName, faceName_.c_str(), 30);
        description.lfItalic = italic_ ? TRUE : FALSE;
        description.lfUnderline = underline_ ? TRUE : FALSE;
        description.lfWeight = bold_ ? FW_BOLD : FW_NORMAL;
        if (vertical_) {
            description.lfEscapement = 900;
            description.lfOrientation = 900;
        }
        font_.reset(CreatePointFontFor(description, dc));
        needsRecreate_ = false;
    }
    previous_ = ::SelectObject(dc, font_.get());
}

void CPlotTextFont::Unselect(HDC dc) {
    if (previous_ != nullptr) {
        ::SelectObject(dc, previous_);
    }
    previous_ = nullptr;
}
