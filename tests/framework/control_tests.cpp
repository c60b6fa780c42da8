// The visual base: lazy windows, parent and child windows, bounds, invalidation, dispatch.
#include "zintara/framework/controls.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zn;

namespace {

// Records the messages its window procedure receives.
class TRecordingControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    std::vector<UINT> Messages;
    bool ThrowOnPaint = false;

    void WndProc(TMessage& Message) override {
        Messages.push_back(Message.Msg);
        if (Message.Msg == WM_USER + 1) {
            Message.Result = 42;
            return;
        }
        if (Message.Msg == WM_USER + 2 && ThrowOnPaint) throw Exception(L"handler failed");
        TWinControl::WndProc(Message);
    }
};

class TExceptionLog : public TObject {
public:
    void Handle(TObject* Sender, const std::exception& E) {
        Senders.push_back(Sender);
        Texts.push_back(E.what());
    }
    std::vector<TObject*> Senders;
    std::vector<std::string> Texts;
};

bool HasUpdateRegion(HWND Window, RECT& Area) { return GetUpdateRect(Window, &Area, FALSE) != 0; }

} // namespace

TEST(WinControl, HandleIsCreatedLazilyWithTheParentsWindow) {
    TWinControl Form(nullptr);
    Form.SetBounds(0, 0, 200, 150);
    TWinControl Panel(&Form);
    Panel.SetParent(&Form);
    Panel.SetBounds(10, 20, 50, 40);
    EXPECT_FALSE(Form.HandleAllocated());
    EXPECT_FALSE(Panel.HandleAllocated());
    HWND Child = Panel.Handle();
    ASSERT_NE(Child, nullptr);
    EXPECT_TRUE(Form.HandleAllocated());
    EXPECT_EQ(GetParent(Child), Form.Handle());
    RECT Area;
    GetWindowRect(Child, &Area);
    MapWindowPoints(HWND_DESKTOP, Form.Handle(), reinterpret_cast<POINT*>(&Area), 2);
    EXPECT_EQ(Area.left, 10);
    EXPECT_EQ(Area.top, 20);
    EXPECT_EQ(Area.right - Area.left, 50);
    EXPECT_EQ(Panel.Handle(), Child);
}

TEST(WinControl, DestroyingTheControlDestroysItsWindow) {
    HWND Window;
    {
        TWinControl Control(nullptr);
        Window = Control.Handle();
        EXPECT_TRUE(IsWindow(Window));
    }
    EXPECT_FALSE(IsWindow(Window));
}

TEST(WinControl, ChildWindowsDestroyedWithTheParentAreForgotten) {
    auto* Form = new TWinControl(nullptr);
    TWinControl Panel(nullptr);
    Panel.SetParent(Form);
    HWND Child = Panel.Handle();
    delete Form;
    EXPECT_FALSE(IsWindow(Child));
    EXPECT_FALSE(Panel.HandleAllocated());
    EXPECT_EQ(Panel.Parent(), nullptr);
}

TEST(WinControl, MessagesReachTheVirtualWindowProcedure) {
    TRecordingControl Control(nullptr);
    HWND Window = Control.Handle();
    EXPECT_EQ(SendMessageW(Window, WM_USER + 1, 0, 0), 42);
    EXPECT_NE(std::find(Control.Messages.begin(), Control.Messages.end(), WM_NCCREATE), Control.Messages.end());
    SetWindowPos(Window, nullptr, 5, 6, 70, 80, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Control.Left(), 5);
    EXPECT_EQ(Control.Height(), 80);
}

TEST(WinControl, ExceptionsInTheWindowProcedureGoToTheApplicationHandler) {
    TExceptionLog Log;
    SetApplicationExceptionHandler(TExceptionEvent::Bind<&TExceptionLog::Handle>(&Log));
    TRecordingControl Control(nullptr);
    Control.ThrowOnPaint = true;
    SendMessageW(Control.Handle(), WM_USER + 2, 0, 0);
    SetApplicationExceptionHandler(nullptr);
    ASSERT_EQ(Log.Texts.size(), 1u);
    EXPECT_EQ(Log.Texts[0], "handler failed");
    EXPECT_EQ(Log.Senders[0], &Control);
}

TEST(WinControl, ParentWindowHostsTheControlInAForeignWindow) {
    HWND Host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    {
        TWinControl Control(nullptr);
        Control.SetParentWindow(Host);
        EXPECT_EQ(GetParent(Control.Handle()), Host);
    }
    DestroyWindow(Host);
}

TEST(GraphicControl, InvalidatesItsRectangleOnTheParentsWindow) {
    TWinControl Form(nullptr);
    Form.SetBounds(0, 0, 200, 200);
    TGraphicControl Picture(&Form);
    Picture.SetBounds(30, 40, 20, 10);
    Picture.Invalidate();
    Picture.SetParent(&Form);
    EXPECT_EQ(Form.ControlCount(), 1);
    EXPECT_EQ(Form.Controls(0), &Picture);
    HWND Window = Form.Handle();
    UpdateWindow(Window);
    ValidateRect(Window, nullptr);
    Picture.Invalidate();
    RECT Area;
    ASSERT_TRUE(HasUpdateRegion(Window, Area));
    EXPECT_EQ(Area.left, 30);
    EXPECT_EQ(Area.top, 40);
    EXPECT_EQ(Area.right, 50);
    EXPECT_EQ(Area.bottom, 50);
    ValidateRect(Window, nullptr);
    Picture.SetVisible(false);
    ValidateRect(Window, nullptr);
    Picture.Invalidate();
    EXPECT_FALSE(HasUpdateRegion(Window, Area));
}

TEST(GraphicControl, ParentLinksAreUndoneOnEitherSide) {
    auto* Form = new TWinControl(nullptr);
    auto* Picture = new TGraphicControl(nullptr);
    Picture->SetParent(Form);
    delete Picture;
    EXPECT_EQ(Form->ControlCount(), 0);
    Picture = new TGraphicControl(nullptr);
    Picture->SetParent(Form);
    delete Form;
    EXPECT_EQ(Picture->Parent(), nullptr);
    delete Picture;
}

namespace {

// Asks for a tool window with a caption of its own.
class TToolWindow : public TWinControl {
public:
    using TWinControl::TWinControl;

protected:
    void CreateParams(TCreateParams& Params) override {
        TWinControl::CreateParams(Params);
        Params.ExStyle |= WS_EX_TOOLWINDOW;
        Params.Caption = L"tool";
    }
};

} // namespace

TEST(WinControl, CreateParamsShapesTheWindow) {
    TToolWindow Control(nullptr);
    Control.SetTabStop(true);
    Control.SetEnabled(false);
    HWND Window = Control.Handle();
    EXPECT_TRUE(GetWindowLongW(Window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(GetWindowLongW(Window, GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(IsWindowEnabled(Window));
    wchar_t Caption[16] = {};
    GetWindowTextW(Window, Caption, 16);
    EXPECT_STREQ(Caption, L"tool");
    Control.SetTabStop(false);
    EXPECT_FALSE(GetWindowLongW(Window, GWL_STYLE) & WS_TABSTOP);
    Control.SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(Window));
}

TEST(WinControl, PerformReachesTheWindowProcedureWithoutAWindow) {
    TRecordingControl Control(nullptr);
    EXPECT_EQ(Control.Perform(WM_USER + 1), 42);
    EXPECT_FALSE(Control.HandleAllocated());
    EXPECT_EQ(Control.Perform(WM_USER + 3), 0) << "no window, no default handling";
}

TEST(WinControl, WindowedChildrenGetWindowsWithTheirParentsWindow) {
    TWinControl Form(nullptr);
    TWinControl Panel(nullptr), Inner(nullptr);
    Panel.SetParent(&Form);
    Inner.SetParent(&Panel);
    Form.HandleNeeded();
    ASSERT_TRUE(Inner.HandleAllocated());
    EXPECT_EQ(GetParent(Inner.Handle()), Panel.Handle());
    TWinControl Late(nullptr);
    Late.SetParent(&Panel);
    EXPECT_TRUE(Late.HandleAllocated()) << "a child joining a parent with a window gets one at once";
    EXPECT_EQ(TWinControl::FindControl(Late.Handle()), &Late);
    EXPECT_EQ(TWinControl::FindControl(GetDesktopWindow()), nullptr);
}
