// Grab handles: where a press lands on a selected control, and the bounds a drag gives.
#include "grab_handles.h"

#include <gtest/gtest.h>

using namespace zn;
using namespace zn::zindesign;
using enum TGrabPosition;

namespace {

constexpr TRect Control = Rect(100, 50, 200, 130);

} // namespace

TEST(GrabHandles, EachHandleIsFoundAtItsCornerOrEdgeAndTheRestIsBodyOrOutside)
{
    EXPECT_EQ(HandleAt(Control, {100, 50}), gpTopLeft);
    EXPECT_EQ(HandleAt(Control, {150, 50}), gpTop);
    EXPECT_EQ(HandleAt(Control, {202, 48}), gpTopRight) << "handles reach outside the bounds";
    EXPECT_EQ(HandleAt(Control, {200, 90}), gpRight);
    EXPECT_EQ(HandleAt(Control, {199, 129}), gpBottomRight);
    EXPECT_EQ(HandleAt(Control, {150, 130}), gpBottom);
    EXPECT_EQ(HandleAt(Control, {100, 130}), gpBottomLeft);
    EXPECT_EQ(HandleAt(Control, {98, 90}), gpLeft);
    EXPECT_EQ(HandleAt(Control, {130, 70}), gpBody);
    EXPECT_EQ(HandleAt(Control, {120, 50 + HandleSize}), gpBody);
    EXPECT_EQ(HandleAt(Control, {210, 90}), gpNone);
    EXPECT_EQ(HandleAt(Control, {120, 130}), gpNone) << "the bottom edge is outside";
}

TEST(GrabHandles, HandlesAreCentredOnTheEdges)
{
    const auto handles = HandleRects(Control);
    EXPECT_EQ(handles[0], Rect(97, 47, 103, 53));
    EXPECT_EQ(handles[3], Rect(197, 87, 203, 93));
    EXPECT_EQ(handles[5], Rect(147, 127, 153, 133));
}

TEST(DragBounds, TheBodyMovesAndAHandleMovesOnlyItsEdges)
{
    EXPECT_EQ(DragBounds(Control, gpBody, -30, 7), Rect(70, 57, 170, 137));
    EXPECT_EQ(DragBounds(Control, gpBottomRight, 20, 10), Rect(100, 50, 220, 140));
    EXPECT_EQ(DragBounds(Control, gpTopLeft, -5, 12), Rect(95, 62, 200, 130));
    EXPECT_EQ(DragBounds(Control, gpTop, 40, -10), Rect(100, 40, 200, 130)) << "no sideways";
    EXPECT_EQ(DragBounds(Control, gpLeft, 10, 40), Rect(110, 50, 200, 130));
    EXPECT_EQ(DragBounds(Control, gpBottomLeft, 3, 4), Rect(103, 50, 200, 134));
}

TEST(DragBounds, AnEdgeDraggedPastTheOppositeOneStopsShortOfIt)
{
    EXPECT_EQ(DragBounds(Control, gpRight, -500, 0), Rect(100, 50, 100 + MinimumExtent, 130));
    EXPECT_EQ(DragBounds(Control, gpTopLeft, 500, 500),
              Rect(200 - MinimumExtent, 130 - MinimumExtent, 200, 130));
    EXPECT_EQ(DragBounds(Control, gpBottom, 0, -80), Rect(100, 50, 200, 50 + MinimumExtent));
}
