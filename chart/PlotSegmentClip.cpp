#include "chart/PlotSegmentClip.h"

#include <algorithm>

bool ClipSegmentToSquare(PlotOffset& a, PlotOffset& b, double halfWidth) {
    // The segment is a + t (b - a), 0 <= t <= 1; each side of the square bounds t from
    // one side, and the part inside is the interval that is left.
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double towardSide[4] = {-dx, dx, -dy, dy};
    const double room[4] = {a.x + halfWidth, halfWidth - a.x, a.y + halfWidth, halfWidth - a.y};
    double enter = 0.0;
    double leave = 1.0;
    for (int side = 0; side < 4; ++side) {
        if (towardSide[side] == 0.0) {
            if (room[side] < 0.0) {
                return false;  // parallel to this side and beyond it
            }
            continue;
        }
        const double t = room[side] / towardSide[side];
        if (towardSide[side] < 0.0) {
            enter = std::max(enter, t);
        } else {
            leave = std::min(leave, t);
        }
    }
    if (enter > leave) {
        return false;
    }
    // Each cut end is computed from its own side, which keeps it exact where the segment
    // is long and the other end far away.
    const PlotOffset from = a;
    const PlotOffset to = b;
    if (enter > 0.0) {
        a = {from.x + enter * dx, from.y + enter * dy};
    }
    if (leave < 1.0) {
        b = {to.x - (1.0 - leave) * dx, to.y - (1.0 - leave) * dy};
    }
    return true;
}
