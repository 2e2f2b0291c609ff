#pragma once
// Cutting a line segment to a square, in doubles. The chart maps values to pixel offsets
// in doubles and GDI takes only moderate integers; a segment with an end far outside the
// screen is cut where it leaves a large square around it, so that what is in view keeps
// its place and direction.

struct PlotOffset {
    double x = 0.0;
    double y = 0.0;
};

inline bool operator==(const PlotOffset& a, const PlotOffset& b) {
    return a.x == b.x && a.y == b.y;
}

// Cuts the segment from a to b to the square |x| <= halfWidth, |y| <= halfWidth. False
// when no part of it lies in the square; a and b are then unchanged. An end inside the
// square stays exactly as it was. The ends must be finite.
bool ClipSegmentToSquare(PlotOffset& a, PlotOffset& b, double halfWidth);
