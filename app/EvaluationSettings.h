#pragma once
// The checks of what the user types into the "按键评估" page's settings: the same values as
// palvex-capture's --min-snr and --min-touch-frames take, refused with the reason the warning
// shows. Standard C++ only.

#include <cstdint>
#include <string>

#include "chartpage/Checked.h"

// The pass mark, the lowest SNR that passes: a number of at least 0 ("5", "4.5").
Checked<double> CheckPassMark(const std::wstring& text);
// The shortest touch in frames: a whole number of at least 1.
Checked<std::uint32_t> CheckMinTouchFrames(const std::wstring& text);
