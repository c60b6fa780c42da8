// Align and Anchors: children laid out in the client area and again when the parent resizes,
// with and without a window.
#include "zintara/framework/forms.h"

#include "test_controls.h"

#include <gtest/gtest.h>

using namespace zn;
using namespace zn::test;

namespace {

TRect Place(const TControl& Control) { return Control.BoundsRect(); }

} // namespace

TEST(Align, ClientFillsTheParentAndFollowsItsSize) {
    TTestPanel Parent(nullptr);
    Parent.SetBounds(0, 0, 200, 100);
    TTestShape Fill(nullptr);
    Fill.SetParent(&Parent);
    Fill.SetAlign(alClient);
    EXPECT_EQ(Place(Fill), Rect(0, 0, 200, 100));
    Parent.SetBounds(0, 0, 300, 150);
    EXPECT_EQ(Place(Fill), Rect(0, 0, 300, 150));
    Fill.SetBounds(5, 5, 10, 10);
    EXPECT_EQ(Place(Fill), Rect(0, 0, 300, 150)) << "an aligned control keeps its place";
    Fill.SetAlign(alNone);
    Fill.SetBounds(5, 5, 10, 10);
    EXPECT_EQ(Place(Fill), Rect(5, 5, 15, 15));
}

TEST(Align, EdgesTakeTheirSidesInOrderAndClientTakesTheRest) {
    TTestPanel Parent(nullptr);
    Parent.SetBounds(0, 0, 200, 100);
    TTestShape Top(nullptr), Bottom(nullptr), Left(nullptr), Right(nullptr), Client(nullptr);
    Client.SetAlign(alClient);
    Top.SetHeight(10);
    Top.SetAlign(alTop);
    Bottom.SetHeight(20);
    Bottom.SetAlign(alBottom);
    Left.SetWidth(30);
    Left.SetAlign(alLeft);
    Right.SetWidth(40);
    Right.SetAlign(alRight);
    for (TControl* Control : std::initializer_list<TControl*>{&Client, &Top, &Bottom, &Left, &Right})
        Control->SetParent(&Parent);
    EXPECT_EQ(Place(Top), Rect(0, 0, 200, 10));
    EXPECT_EQ(Place(Bottom), Rect(0, 80, 200, 100));
    EXPECT_EQ(Place(Left), Rect(0, 10, 30, 80));
    EXPECT_EQ(Place(Right), Rect(160, 10, 200, 80));
    EXPECT_EQ(Place(Client), Rect(30, 10, 160, 80));
    Top.SetVisible(false);
    EXPECT_EQ(Place(Client), Rect(30, 0, 160, 80));
}

TEST(Align, WindowResizesReachTheChildrenThroughTheWindow) {
    TForm Form(nullptr);
    Form.SetBounds(10, 10, 300, 200);
    Form.Show();
    auto* Fill = new TTestPanel(&Form);
    Fill->SetAlign(alClient);
    Fill->SetParent(&Form);
    ASSERT_TRUE(Fill->HandleAllocated()) << "a child of a form with a window gets one at once";
    RECT Client;
    GetClientRect(Form.Handle(), &Client);
    EXPECT_EQ(Place(*Fill), Rect(0, 0, Client.right, Client.bottom));
    SetWindowPos(Form.Handle(), nullptr, 0, 0, 400, 260, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(Form.Handle(), &Client);
    EXPECT_EQ(Place(*Fill), Rect(0, 0, Client.right, Client.bottom));
    RECT Window;
    GetWindowRect(Fill->Handle(), &Window);
    EXPECT_EQ(Window.right - Window.left, Client.right);
    EXPECT_EQ(Form.ClientWidth(), Client.right);
}

TEST(Anchors, RightAndBottomAnchorsKeepTheirDistance) {
    TTestPanel Parent(nullptr);
    Parent.SetBounds(0, 0, 200, 100);
    TTestShape Stretch(nullptr), Corner(nullptr), Fixed(nullptr);
    for (TTestShape* Shape : {&Stretch, &Corner, &Fixed}) {
        Shape->SetBounds(10, 10, 50, 20);
        Shape->SetParent(&Parent);
    }
    Parent.Realign();
    Stretch.SetAnchors({akLeft, akTop, akRight});
    Corner.SetAnchors({akRight, akBottom});
    Parent.SetBounds(0, 0, 250, 130);
    EXPECT_EQ(Place(Stretch), Rect(10, 10, 110, 30));
    EXPECT_EQ(Place(Corner), Rect(60, 40, 110, 60));
    EXPECT_EQ(Place(Fixed), Rect(10, 10, 60, 30));
}

TEST(Align, AFormWithoutAWindowLaysOutInTheClientAreaItWillHave) {
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 300, 200);
    TTestShape Fill(nullptr);
    Fill.SetAlign(alClient);
    Fill.SetParent(&Form);
    EXPECT_LT(Fill.Width(), 300);
    EXPECT_GT(Fill.Width(), 250);
    Form.Show();
    EXPECT_EQ(Fill.Width(), Form.ClientWidth());
    EXPECT_EQ(Fill.Height(), Form.ClientHeight());
}
