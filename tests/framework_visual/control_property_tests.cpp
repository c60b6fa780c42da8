// Control properties: the framework's defaults, colour and hint inheritance with the colour
// message, the component a control refers to, and the design state.
#include "zintara/framework/forms.h"

#include "test_controls.h"

#include <gtest/gtest.h>

using namespace zn;
using namespace zn::test;

TEST(ControlProperties, NewControlsHaveTheFrameworksDefaults) {
    TTestShape Shape(nullptr);
    EXPECT_EQ(Shape.Align(), alNone);
    EXPECT_EQ(Shape.Anchors(), (TAnchors{akLeft, akTop}));
    EXPECT_EQ(Shape.Color(), clWindow);
    EXPECT_TRUE(Shape.ParentColor());
    EXPECT_FALSE(Shape.ShowHint());
    EXPECT_TRUE(Shape.ParentShowHint());
    EXPECT_EQ(Shape.DragCursor(), crDrag);
    EXPECT_EQ(Shape.DragMode(), dmManual);
    EXPECT_TRUE(Shape.Visible());
    EXPECT_TRUE(Shape.Enabled());
    EXPECT_EQ(Shape.PopupMenu(), nullptr);
    TTestPanel Panel(nullptr);
    EXPECT_FALSE(Panel.TabStop());
    TForm Form(nullptr);
    EXPECT_FALSE(Form.Visible());
    EXPECT_EQ(Form.Color(), clBtnFace);
    EXPECT_FALSE(Form.ParentColor());
}

TEST(ControlProperties, ColorChangesSendTheColourMessageOnce) {
    TTestShape Shape(nullptr);
    Shape.SetColor(clRed);
    EXPECT_EQ(Shape.ColorChanges, 1);
    EXPECT_FALSE(Shape.ParentColor());
    Shape.SetColor(clRed);
    EXPECT_EQ(Shape.ColorChanges, 1);
    EXPECT_EQ(CM_COLORCHANGED, 0xB00Du);
    Shape.Perform(CM_COLORCHANGED);
    EXPECT_EQ(Shape.ColorChanges, 2);
}

TEST(ControlProperties, ParentColorFollowsTheParentUntilTheControlHasItsOwn) {
    TTestPanel Panel(nullptr);
    Panel.SetColor(clYellow);
    TTestShape Inherits(nullptr), Own(nullptr);
    Own.SetColor(clRed);
    Inherits.SetParent(&Panel);
    Own.SetParent(&Panel);
    EXPECT_EQ(Inherits.Color(), clYellow);
    EXPECT_EQ(Inherits.ColorChanges, 1);
    EXPECT_TRUE(Inherits.ParentColor());
    Panel.SetColor(clAqua);
    EXPECT_EQ(Inherits.Color(), clAqua);
    EXPECT_EQ(Inherits.ColorChanges, 2);
    EXPECT_EQ(Own.Color(), clRed);
    Own.SetParentColor(true);
    EXPECT_EQ(Own.Color(), clAqua);
    Panel.SetColor(clAqua);
    EXPECT_EQ(Inherits.ColorChanges, 2) << "no message when nothing changed";
}

TEST(ControlProperties, ShowHintFollowsTheParentUntilSetOnTheControl) {
    TTestPanel Panel(nullptr);
    TTestShape Shape(nullptr);
    Shape.SetParent(&Panel);
    Panel.SetShowHint(true);
    EXPECT_TRUE(Shape.ShowHint());
    Shape.SetShowHint(false);
    EXPECT_FALSE(Shape.ParentShowHint());
    Panel.SetShowHint(false);
    Panel.SetShowHint(true);
    EXPECT_FALSE(Shape.ShowHint());
    Shape.SetHint(L"tip");
    EXPECT_EQ(Shape.Hint(), L"tip");
}

TEST(ControlProperties, AReferencedComponentThatIsFreedIsForgotten) {
    TTestShape Shape(nullptr);
    auto* Menu = new TComponent(nullptr);
    Shape.SetPopupMenu(Menu);
    EXPECT_EQ(Shape.PopupMenu(), Menu);
    delete Menu;
    EXPECT_EQ(Shape.PopupMenu(), nullptr);
    auto* Kept = new TComponent(nullptr);
    Shape.SetPopupMenu(Kept);
    Shape.SetPopupMenu(nullptr);
    delete Kept;
    EXPECT_EQ(Shape.PopupMenu(), nullptr);
}

TEST(DesignState, AFormInTheDesignerPutsItsControlsThereAndRaisesNoClicks) {
    TForm Form(nullptr);
    auto* Panel = new TTestPanel(&Form);
    Panel->SetParent(&Form);
    Panel->SetBounds(0, 0, 50, 50);
    TTestShape Unowned(nullptr);
    Unowned.SetParent(Panel);
    SetDesignState(Form, true);
    EXPECT_TRUE(Form.ComponentState().Contains(csDesigning));
    EXPECT_TRUE(Panel->ComponentState().Contains(csDesigning));
    EXPECT_TRUE(Unowned.ComponentState().Contains(csDesigning)) << "a control on the form that it does not own";
    Panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(5, 5));
    Panel->Perform(WM_LBUTTONUP, 0, PointToLParam(5, 5));
    EXPECT_EQ(Panel->Log, (std::vector<std::string>{"down left 5,5"}));
    SetDesignState(Form, false);
    EXPECT_FALSE(Panel->ComponentState().Contains(csDesigning));
    EXPECT_FALSE(Unowned.ComponentState().Contains(csDesigning));
    Unowned.SetParent(nullptr);
}
