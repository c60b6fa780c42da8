// The grab handles around a selected control and the arithmetic of dragging: which handle (or
// the body) a point is on, and the bounds a move or a drag of one handle gives.
#pragma once

#include "zintara/framework/types.h"

#include <array>

namespace zn::zindesign {

// Where a press landed on a selected control: a corner or edge handle, its body, or outside.
enum class TGrabPosition {
    gpNone,
    gpBody,
    gpTopLeft,
    gpTop,
    gpTopRight,
    gpRight,
    gpBottomRight,
    gpBottom,
    gpBottomLeft,
    gpLeft
};

inline constexpr int HandleSize = 6;
// Sizing never makes a control smaller than this, so it can still be grabbed.
inline constexpr int MinimumExtent = 8;

// The eight handles of Bounds, in the order of TGrabPosition from gpTopLeft, each HandleSize
// square and centred on its corner or edge.
std::array<TRect, 8> HandleRects(const TRect& Bounds);
TGrabPosition HandleAt(const TRect& Bounds, TPoint Point);
bool Contains(const TRect& Bounds, TPoint Point);

// The bounds after the press at gpBody or a handle moved by (DX, DY): the body moves the whole
// rectangle; a handle moves its edges, the opposite edges stay, and an edge dragged past the
// opposite one stops MinimumExtent before it.
TRect DragBounds(const TRect& Bounds, TGrabPosition Grab, int DX, int DY);

} // namespace zn::zindesign
