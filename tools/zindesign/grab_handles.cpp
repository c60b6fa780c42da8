// Grab handles and drag arithmetic.
#include "grab_handles.h"

#include <algorithm>

namespace zn::zindesign {

namespace {

TRect HandleAround(int X, int Y)
{
    return Bounds(X - HandleSize / 2, Y - HandleSize / 2, HandleSize, HandleSize);
}

bool MovesLeft(TGrabPosition Grab)
{
    using enum TGrabPosition;
    return Grab == gpTopLeft || Grab == gpLeft || Grab == gpBottomLeft;
}
bool MovesRight(TGrabPosition Grab)
{
    using enum TGrabPosition;
    return Grab == gpTopRight || Grab == gpRight || Grab == gpBottomRight;
}
bool MovesTop(TGrabPosition Grab)
{
    using enum TGrabPosition;
    return Grab == gpTopLeft || Grab == gpTop || Grab == gpTopRight;
}
bool MovesBottom(TGrabPosition Grab)
{
    using enum TGrabPosition;
    return Grab == gpBottomLeft || Grab == gpBottom || Grab == gpBottomRight;
}

} // namespace

bool Contains(const TRect& Bounds, TPoint Point)
{
    return Point.X >= Bounds.Left && Point.X < Bounds.Right && Point.Y >= Bounds.Top &&
           Point.Y < Bounds.Bottom;
}

std::array<TRect, 8> HandleRects(const TRect& Bounds)
{
    const int middle_x = (Bounds.Left + Bounds.Right) / 2;
    const int middle_y = (Bounds.Top + Bounds.Bottom) / 2;
    return {HandleAround(Bounds.Left, Bounds.Top),     HandleAround(middle_x, Bounds.Top),
            HandleAround(Bounds.Right, Bounds.Top),    HandleAround(Bounds.Right, middle_y),
            HandleAround(Bounds.Right, Bounds.Bottom), HandleAround(middle_x, Bounds.Bottom),
            HandleAround(Bounds.Left, Bounds.Bottom),  HandleAround(Bounds.Left, middle_y)};
}

TGrabPosition HandleAt(const TRect& Bounds, TPoint Point)
{
    const std::array<TRect, 8> handles = HandleRects(Bounds);
    for (std::size_t i = 0; i < handles.size(); ++i)
        if (Contains(handles[i], Point))
            return static_cast<TGrabPosition>(static_cast<int>(TGrabPosition::gpTopLeft) + i);
    return Contains(Bounds, Point) ? TGrabPosition::gpBody : TGrabPosition::gpNone;
}

TRect DragBounds(const TRect& Bounds, TGrabPosition Grab, int DX, int DY)
{
    TRect result = Bounds;
    if (Grab == TGrabPosition::gpBody)
        return Rect(Bounds.Left + DX, Bounds.Top + DY, Bounds.Right + DX, Bounds.Bottom + DY);
    if (MovesLeft(Grab))
        result.Left = std::min(Bounds.Left + DX, Bounds.Right - MinimumExtent);
    if (MovesRight(Grab))
        result.Right = std::max(Bounds.Right + DX, Bounds.Left + MinimumExtent);
    if (MovesTop(Grab))
        result.Top = std::min(Bounds.Top + DY, Bounds.Bottom - MinimumExtent);
    if (MovesBottom(Grab))
        result.Bottom = std::max(Bounds.Bottom + DY, Bounds.Top + MinimumExtent);
    return result;
}

} // namespace zn::zindesign
