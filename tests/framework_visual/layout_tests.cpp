// Align and Anchors: children laid out in the client area and again when the parent resizes,
// with and without a window.
#include "zintara/framework/forms.h"

#include "test_controls.h"

#include <gtest/gtest.h>

using namespace zn;
using namespace zn::test;

namespace {

TRect Place(const TControl& Control)
{
    return Control.BoundsRect();
}

} // namespace

TEST(Align, ClientFillsTheParentAndFollowsItsSize)
{
    TTestPanel parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    TTestShape fill(nullptr);
    fill.SetParent(&parent);
    fill.SetAlign(alClient);
    EXPECT_EQ(Place(fill), Rect(0, 0, 200, 100));
    parent.SetBounds(0, 0, 300, 150);
    EXPECT_EQ(Place(fill), Rect(0, 0, 300, 150));
    fill.SetBounds(5, 5, 10, 10);
    EXPECT_EQ(Place(fill), Rect(0, 0, 300, 150)) << "an aligned control keeps its place";
    fill.SetAlign(alNone);
    fill.SetBounds(5, 5, 10, 10);
    EXPECT_EQ(Place(fill), Rect(5, 5, 15, 15));
}

TEST(Align, EdgesTakeTheirSidesInOrderAndClientTakesTheRest)
{
    TTestPanel parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    TTestShape top(nullptr), bottom(nullptr), left(nullptr), right(nullptr), client(nullptr);
    client.SetAlign(alClient);
    top.SetHeight(10);
    top.SetAlign(alTop);
    bottom.SetHeight(20);
    bottom.SetAlign(alBottom);
    left.SetWidth(30);
    left.SetAlign(alLeft);
    right.SetWidth(40);
    right.SetAlign(alRight);
    for (TControl* control :
         std::initializer_list<TControl*>{&client, &top, &bottom, &left, &right})
        control->SetParent(&parent);
    EXPECT_EQ(Place(top), Rect(0, 0, 200, 10));
    EXPECT_EQ(Place(bottom), Rect(0, 80, 200, 100));
    EXPECT_EQ(Place(left), Rect(0, 10, 30, 80));
    EXPECT_EQ(Place(right), Rect(160, 10, 200, 80));
    EXPECT_EQ(Place(client), Rect(30, 10, 160, 80));
    top.SetVisible(false);
    EXPECT_EQ(Place(client), Rect(30, 0, 160, 80));
}

TEST(Align, WindowResizesReachTheChildrenThroughTheWindow)
{
    TForm form(nullptr);
    form.SetBounds(10, 10, 300, 200);
    form.Show();
    auto* fill = new TTestPanel(&form);
    fill->SetAlign(alClient);
    fill->SetParent(&form);
    ASSERT_TRUE(fill->HandleAllocated()) << "a child of a form with a window gets one at once";
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(Place(*fill), Rect(0, 0, client.right, client.bottom));
    SetWindowPos(form.Handle(), nullptr, 0, 0, 400, 260, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(Place(*fill), Rect(0, 0, client.right, client.bottom));
    RECT window;
    GetWindowRect(fill->Handle(), &window);
    EXPECT_EQ(window.right - window.left, client.right);
    EXPECT_EQ(form.ClientWidth(), client.right);
}

TEST(Anchors, RightAndBottomAnchorsKeepTheirDistance)
{
    TTestPanel parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    TTestShape stretch(nullptr), corner(nullptr), fixed(nullptr);
    for (TTestShape* shape : {&stretch, &corner, &fixed}) {
        shape->SetBounds(10, 10, 50, 20);
        shape->SetParent(&parent);
    }
    parent.Realign();
    stretch.SetAnchors({akLeft, akTop, akRight});
    corner.SetAnchors({akRight, akBottom});
    parent.SetBounds(0, 0, 250, 130);
    EXPECT_EQ(Place(stretch), Rect(10, 10, 110, 30));
    EXPECT_EQ(Place(corner), Rect(60, 40, 110, 60));
    EXPECT_EQ(Place(fixed), Rect(10, 10, 60, 30));
}

TEST(Align, AFormWithoutAWindowLaysOutInTheClientAreaItWillHave)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    TTestShape fill(nullptr);
    fill.SetAlign(alClient);
    fill.SetParent(&form);
    EXPECT_LT(fill.Width(), 300);
    EXPECT_GT(fill.Width(), 250);
    form.Show();
    EXPECT_EQ(fill.Width(), form.ClientWidth());
    EXPECT_EQ(fill.Height(), form.ClientHeight());
}
