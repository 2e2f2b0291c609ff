#pragma once
// A font description that creates its GDI font lazily, at the point size of the device
// context it is first selected into, and re-creates it when its orientation changes.

#include "framework/Gdi.h"

#include <string>

class CPlotTextFont {
  public:
    CPlotTextFont() = default;
    CPlotTextFont(std::wstring faceName, int pointSizeTenths);
    CPlotTextFont(CPlotTextFont&&) noexcept = default;
    CPlotTextFont& operator=(CPlotTextFont&&) noexcept = default;

    void SetFaceName(const std::wstring& faceName);
    void SetPointSize(int tenths);
    void SetItalic(bool italic);
    void SetBold(bool bold);
    void SetUnderline(bool underline);
    void SetVertical(bool vertical);
    bool IsVertical() const { return vertical_; }

    // Selects the font into dc, creating it first when needed; Unselect puts back what
    // was selected before.
    void Select(HDC dc);
    void Unselect(HDC dc);

  private:
    std::wstring faceName_ = L"Microsoft Sans Serif";
    int pointSize_ = 100;
    bool italic_ = false;
    bool bold_ = false;
    bool underline_ = false;
    bool vertical_ = false;
    Font font_;
    bool needsRecreate_ = true;
    HGDIOBJ previous_ = nullptr;
};

// The lfHeight of a font of the given size in tenths of a point for dc (the screen when dc
// is null), in dc's logical units.
LONG PointHeightFor(int pointSizeTenths, HDC dc);
// Creates a font whose lfHeight is given in tenths of a point, converted for dc (or the
// screen when dc is null).
HFONT CreatePointFontFor(const LOGFONTW& description, HDC dc);
// The same for a face name and size, with all other fields at their defaults.
HFONT CreatePointFontFor(int pointSizeTenths, const std::wstring& faceName, HDC dc);
