#pragma once
// Cursors are overlays of the chart control, drawn over the rendered chart at every paint
// and fed the mouse input inside the plotting rectangle. The drag line is a one-pixel line
// across the plotting rectangle that the user drags along its axis; while dragged it
// reports its value to its listeners.

#include "framework/Wnd.h"

#include <cstring>
#include <type_traits>
#include <vector>

class CPlotAxis;
class CPlotCtrl;
class CPlotCursor;

// Posted by CPlotDragLineListener to its target window: wParam is the window of the chart
// whose line moved, lParam the line's new X value, carried by CursorValueParam. The chart page
// answers it as WM_CHART_CURSOR_MOVED.
constexpr UINT kPlotCursorMovedMessage = WM_USER + 102;

// The X value as the lParam of a cursor message, and back. A message that waits in the queue
// then carries the value of its own move, whatever happened to the cursor since. A 32-bit
// lParam holds it as a float: a cursor lies within the shown window of at most a few thousand
// points, where a float keeps the value to far below a pixel.
using CursorValueCarrier = std::conditional_t<sizeof(LPARAM) >= sizeof(double), double, float>;
static_assert(sizeof(LPARAM) >= sizeof(CursorValueCarrier), "a cursor message carries the value");
inline LPARAM CursorValueParam(double x) {
    const auto carried = static_cast<CursorValueCarrier>(x);
    LPARAM param = 0;
    std::memcpy(&param, &carried, sizeof carried);
    return param;
}
inline double CursorValueOf(LPARAM param) {
    CursorValueCarrier x = 0;
    std::memcpy(&x, &param, sizeof x);
    return x;
}

class CPlotCursorListener {
  public:
    virtual ~CPlotCursorListener() = default;
    virtual void CursorMoved(CPlotCursor* cursor, double x, double y) = 0;
};

class CPlotCursor {
  public:
    explicit CPlotCursor(CPlotCtrl* control);
    virtual ~CPlotCursor() = default;
    CPlotCursor(const CPlotCursor&) = delete;
    CPlotCursor& operator=(const CPlotCursor&) = delete;

    virtual void MouseMoved(int x, int y) = 0;
    virtual void ButtonDown(int x, int y);
    virtual void ButtonUp(int x, int y);
    virtual void Draw(HDC dc) = 0;

    void SetColor(COLORREF colour);
    COLORREF GetColor() const { return colour_; }
    unsigned GetId() const { return id_; }
    // The cursor never owns its listeners.
    void AddListener(CPlotCursorListener* listener) { listeners_.push_back(listener); }

    CPlotCtrl* GetControl() const { return control_; }

  protected:
    void NotifyListeners(double x, double y);

  private:
    static unsigned nextId_;

    COLORREF colour_ = 0;
    CPlotCtrl* control_;
    unsigned id_;
    std::vector<CPlotCursorListener*> listeners_;
};

class CPlotDragLineCursor : public CPlotCursor {
  public:
    // Pixels on either side of the line within which a press grabs it.
    static constexpr int kGrabTolerance = 3;

    CPlotDragLineCursor(CPlotCtrl* control, CPlotAxis* axis);
    ~CPlotDragLineCursor() override = default;

    void MouseMoved(int x, int y) override;
    void ButtonDown(int x, int y) override;
    void ButtonUp(int x, int y) override;
    void Draw(HDC dc) override;

    // Puts the line at the pixel of value; the caller refreshes the control.
    void MoveToValue(double value);
    int GetPosition() const { return position_; }
    bool IsDragging() const { return dragging_; }
    CPlotAxis* GetAxis() const { return axis_; }
    // Binds the line to the axis that takes the place of its own in the control.
    void SetAxis(CPlotAxis* axis) { axis_ = axis; }

  private:
    CPlotAxis* axis_;
    bool dragging_ = false;
    int position_ = 0;
};

// Forwards every new position of a drag line to a window, as a posted message carrying the
// chart and the new X value.
class CPlotDragLineListener : public CPlotCursorListener {
  public:
    explicit CPlotDragLineListener(CWnd* target) : target_(target) {}

    void CursorMoved(CPlotCursor* cursor, double x, double y) override;

    double value = 0.0;  // the X value reported last

  private:
    CWnd* target_;
};
