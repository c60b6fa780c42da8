// Control properties: the framework's defaults, colour and hint inheritance with the colour
// message, the component a control refers to, and the design state.
#include "zintara/framework/forms.h"

#include "test_controls.h"

#include <gtest/gtest.h>

using namespace zn;
using namespace zn::test;

TEST(ControlProperties, NewControlsHaveTheFrameworksDefaults)
{
    TTestShape shape(nullptr);
    EXPECT_EQ(shape.Align(), alNone);
    EXPECT_EQ(shape.Anchors(), (TAnchors{akLeft, akTop}));
    EXPECT_EQ(shape.Color(), clWindow);
    EXPECT_TRUE(shape.ParentColor());
    EXPECT_FALSE(shape.ShowHint());
    EXPECT_TRUE(shape.ParentShowHint());
    EXPECT_EQ(shape.DragCursor(), crDrag);
    EXPECT_EQ(shape.DragMode(), dmManual);
    EXPECT_TRUE(shape.Visible());
    EXPECT_TRUE(shape.Enabled());
    EXPECT_EQ(shape.PopupMenu(), nullptr);
    TTestPanel panel(nullptr);
    EXPECT_FALSE(panel.TabStop());
    TForm form(nullptr);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.Color(), clBtnFace);
    EXPECT_FALSE(form.ParentColor());
}

TEST(ControlProperties, ColorChangesSendTheColourMessageOnce)
{
    TTestShape shape(nullptr);
    shape.SetColor(clRed);
    EXPECT_EQ(shape.ColorChanges, 1);
    EXPECT_FALSE(shape.ParentColor());
    shape.SetColor(clRed);
    EXPECT_EQ(shape.ColorChanges, 1);
    EXPECT_EQ(CM_COLORCHANGED, 0xB00Du);
    shape.Perform(CM_COLORCHANGED);
    EXPECT_EQ(shape.ColorChanges, 2);
}

TEST(ControlProperties, ParentColorFollowsTheParentUntilTheControlHasItsOwn)
{
    TTestPanel panel(nullptr);
    panel.SetColor(clYellow);
    TTestShape inherits(nullptr), own(nullptr);
    own.SetColor(clRed);
    inherits.SetParent(&panel);
    own.SetParent(&panel);
    EXPECT_EQ(inherits.Color(), clYellow);
    EXPECT_EQ(inherits.ColorChanges, 1);
    EXPECT_TRUE(inherits.ParentColor());
    panel.SetColor(clAqua);
    EXPECT_EQ(inherits.Color(), clAqua);
    EXPECT_EQ(inherits.ColorChanges, 2);
    EXPECT_EQ(own.Color(), clRed);
    own.SetParentColor(true);
    EXPECT_EQ(own.Color(), clAqua);
    panel.SetColor(clAqua);
    EXPECT_EQ(inherits.ColorChanges, 2) << "no message when nothing changed";
}

TEST(ControlProperties, ShowHintFollowsTheParentUntilSetOnTheControl)
{
    TTestPanel panel(nullptr);
    TTestShape shape(nullptr);
    shape.SetParent(&panel);
    panel.SetShowHint(true);
    EXPECT_TRUE(shape.ShowHint());
    shape.SetShowHint(false);
    EXPECT_FALSE(shape.ParentShowHint());
    panel.SetShowHint(false);
    panel.SetShowHint(true);
    EXPECT_FALSE(shape.ShowHint());
    shape.SetHint(L"tip");
    EXPECT_EQ(shape.Hint(), L"tip");
}

TEST(ControlProperties, AReferencedComponentThatIsFreedIsForgotten)
{
    TTestShape shape(nullptr);
    auto* menu = new TComponent(nullptr);
    shape.SetPopupMenu(menu);
    EXPECT_EQ(shape.PopupMenu(), menu);
    delete menu;
    EXPECT_EQ(shape.PopupMenu(), nullptr);
    auto* kept = new TComponent(nullptr);
    shape.SetPopupMenu(kept);
    shape.SetPopupMenu(nullptr);
    delete kept;
    EXPECT_EQ(shape.PopupMenu(), nullptr);
}

TEST(DesignState, AFormInTheDesignerPutsItsControlsThereAndRaisesNoClicks)
{
    TForm form(nullptr);
    auto* panel = new TTestPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 50, 50);
    TTestShape unowned(nullptr);
    unowned.SetParent(panel);
    SetDesignState(form, true);
    EXPECT_TRUE(form.ComponentState().Contains(csDesigning));
    EXPECT_TRUE(panel->ComponentState().Contains(csDesigning));
    EXPECT_TRUE(unowned.ComponentState().Contains(csDesigning))
        << "a control on the form that it does not own";
    panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(5, 5));
    panel->Perform(WM_LBUTTONUP, 0, PointToLParam(5, 5));
    EXPECT_EQ(panel->Log, (std::vector<std::string>{"down left 5,5"}));
    SetDesignState(form, false);
    EXPECT_FALSE(panel->ComponentState().Contains(csDesigning));
    EXPECT_FALSE(unowned.ComponentState().Contains(csDesigning));
    unowned.SetParent(nullptr);
}
