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

    void WndProc(TMessage& Message) override
    {
        Messages.push_back(Message.Msg);
        if (Message.Msg == WM_USER + 1) {
            Message.Result = 42;
            return;
        }
        if (Message.Msg == WM_USER + 2 && ThrowOnPaint)
            throw Exception(L"handler failed");
        TWinControl::WndProc(Message);
    }
};

class TExceptionLog : public TObject {
public:
    void Handle(TObject* Sender, const std::exception& E)
    {
        Senders.push_back(Sender);
        Texts.push_back(E.what());
    }
    std::vector<TObject*> Senders;
    std::vector<std::string> Texts;
};

bool HasUpdateRegion(HWND Window, RECT& Area)
{
    return GetUpdateRect(Window, &Area, FALSE) != 0;
}

} // namespace

TEST(WinControl, HandleIsCreatedLazilyWithTheParentsWindow)
{
    TWinControl form(nullptr);
    form.SetBounds(0, 0, 200, 150);
    TWinControl panel(&form);
    panel.SetParent(&form);
    panel.SetBounds(10, 20, 50, 40);
    EXPECT_FALSE(form.HandleAllocated());
    EXPECT_FALSE(panel.HandleAllocated());
    HWND child = panel.Handle();
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(form.HandleAllocated());
    EXPECT_EQ(GetParent(child), form.Handle());
    RECT area;
    GetWindowRect(child, &area);
    MapWindowPoints(HWND_DESKTOP, form.Handle(), reinterpret_cast<POINT*>(&area), 2);
    EXPECT_EQ(area.left, 10);
    EXPECT_EQ(area.top, 20);
    EXPECT_EQ(area.right - area.left, 50);
    EXPECT_EQ(panel.Handle(), child);
}

TEST(WinControl, DestroyingTheControlDestroysItsWindow)
{
    HWND window;
    {
        TWinControl control(nullptr);
        window = control.Handle();
        EXPECT_TRUE(IsWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
}

TEST(WinControl, ChildWindowsDestroyedWithTheParentAreForgotten)
{
    auto* form = new TWinControl(nullptr);
    TWinControl panel(nullptr);
    panel.SetParent(form);
    HWND child = panel.Handle();
    delete form;
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(panel.HandleAllocated());
    EXPECT_EQ(panel.Parent(), nullptr);
}

TEST(WinControl, MessagesReachTheVirtualWindowProcedure)
{
    TRecordingControl control(nullptr);
    HWND window = control.Handle();
    EXPECT_EQ(SendMessageW(window, WM_USER + 1, 0, 0), 42);
    EXPECT_NE(std::find(control.Messages.begin(), control.Messages.end(), WM_NCCREATE),
              control.Messages.end());
    SetWindowPos(window, nullptr, 5, 6, 70, 80, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(control.Left(), 5);
    EXPECT_EQ(control.Height(), 80);
}

TEST(WinControl, ExceptionsInTheWindowProcedureGoToTheApplicationHandler)
{
    TExceptionLog log;
    SetApplicationExceptionHandler(TExceptionEvent::Bind<&TExceptionLog::Handle>(&log));
    TRecordingControl control(nullptr);
    control.ThrowOnPaint = true;
    SendMessageW(control.Handle(), WM_USER + 2, 0, 0);
    SetApplicationExceptionHandler(nullptr);
    ASSERT_EQ(log.Texts.size(), 1u);
    EXPECT_EQ(log.Texts[0], "handler failed");
    EXPECT_EQ(log.Senders[0], &control);
}

TEST(WinControl, ParentWindowHostsTheControlInAForeignWindow)
{
    HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
    {
        TWinControl control(nullptr);
        control.SetParentWindow(host);
        EXPECT_EQ(GetParent(control.Handle()), host);
    }
    DestroyWindow(host);
}

TEST(GraphicControl, InvalidatesItsRectangleOnTheParentsWindow)
{
    TWinControl form(nullptr);
    form.SetBounds(0, 0, 200, 200);
    TGraphicControl picture(&form);
    picture.SetBounds(30, 40, 20, 10);
    picture.Invalidate();
    picture.SetParent(&form);
    EXPECT_EQ(form.ControlCount(), 1);
    EXPECT_EQ(form.Controls(0), &picture);
    HWND window = form.Handle();
    UpdateWindow(window);
    ValidateRect(window, nullptr);
    picture.Invalidate();
    RECT area;
    ASSERT_TRUE(HasUpdateRegion(window, area));
    EXPECT_EQ(area.left, 30);
    EXPECT_EQ(area.top, 40);
    EXPECT_EQ(area.right, 50);
    EXPECT_EQ(area.bottom, 50);
    ValidateRect(window, nullptr);
    picture.SetVisible(false);
    ValidateRect(window, nullptr);
    picture.Invalidate();
    EXPECT_FALSE(HasUpdateRegion(window, area));
}

TEST(GraphicControl, ParentLinksAreUndoneOnEitherSide)
{
    auto* form = new TWinControl(nullptr);
    auto* picture = new TGraphicControl(nullptr);
    picture->SetParent(form);
    delete picture;
    EXPECT_EQ(form->ControlCount(), 0);
    picture = new TGraphicControl(nullptr);
    picture->SetParent(form);
    delete form;
    EXPECT_EQ(picture->Parent(), nullptr);
    delete picture;
}

namespace {

// Asks for a tool window with a caption of its own.
class TToolWindow : public TWinControl {
public:
    using TWinControl::TWinControl;

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TWinControl::CreateParams(Params);
        Params.ExStyle |= WS_EX_TOOLWINDOW;
        Params.Caption = L"tool";
    }
};

} // namespace

TEST(WinControl, CreateParamsShapesTheWindow)
{
    TToolWindow control(nullptr);
    control.SetTabStop(true);
    control.SetEnabled(false);
    HWND window = control.Handle();
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(IsWindowEnabled(window));
    wchar_t caption[16] = {};
    GetWindowTextW(window, caption, 16);
    EXPECT_STREQ(caption, L"tool");
    control.SetTabStop(false);
    EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP);
    control.SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(window));
}

TEST(WinControl, PerformReachesTheWindowProcedureWithoutAWindow)
{
    TRecordingControl control(nullptr);
    EXPECT_EQ(control.Perform(WM_USER + 1), 42);
    EXPECT_FALSE(control.HandleAllocated());
    EXPECT_EQ(control.Perform(WM_USER + 3), 0) << "no window, no default handling";
}

TEST(WinControl, WindowedChildrenGetWindowsWithTheirParentsWindow)
{
    TWinControl form(nullptr);
    TWinControl panel(nullptr), inner(nullptr);
    panel.SetParent(&form);
    inner.SetParent(&panel);
    form.HandleNeeded();
    ASSERT_TRUE(inner.HandleAllocated());
    EXPECT_EQ(GetParent(inner.Handle()), panel.Handle());
    TWinControl late(nullptr);
    late.SetParent(&panel);
    EXPECT_TRUE(late.HandleAllocated())
        << "a child joining a parent with a window gets one at once";
    EXPECT_EQ(TWinControl::FindControl(late.Handle()), &late);
    EXPECT_EQ(TWinControl::FindControl(GetDesktopWindow()), nullptr);
}
