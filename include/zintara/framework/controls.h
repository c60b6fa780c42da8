// The visual base: TControl (a rectangle on a parent), TWinControl (a control with a window of
// its own, created when first needed) and TGraphicControl (drawn on its parent's window).
#pragma once

#include "zintara/framework/component.h"
#include "zintara/framework/method.h"
#include "zintara/framework/types.h"

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

namespace zn {

class TWinControl;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    // In the parent's client coordinates.
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    // Asks for a repaint: the control's rectangle on its parent's window, when it has one.
    virtual void Invalidate();

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* AParent) override;

protected:
    // Moves the fields without touching any window, for messages that report a move.
    void UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight);

private:
    friend class TWinControl;
    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FVisible = true;
};

// The window a TWinControl asks for; CreateParams may change any of it.
struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    // Detaches the child controls (their owners free them) and destroys the window.
    ~TWinControl() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // The window, created (with its parents' windows) when not yet done.
    HWND Handle();
    void HandleNeeded();
    // Never creates the window.
    bool HandleAllocated() const { return FHandle != nullptr; }

    // A window outside the framework to create the window in when there is no Parent.
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND Value);

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool Value) override;
    void SetParent(TWinControl* AParent) override;
    void Invalidate() override;
    void GetChildren(std::vector<TComponent*>& Children, const TComponent* Root) const override;

protected:
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateHandle();
    virtual void DestroyHandle();
    // Every message of the window comes here; the default keeps the bounds in step with the
    // window and passes the rest to DefWindowProcW.
    virtual LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam);

private:
    static LRESULT CALLBACK WindowProcedure(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);

    friend class TControl;
    HWND FHandle = nullptr;
    HWND FParentWindow = nullptr;
    bool FCreatingHandle = false;
    std::vector<TControl*> FControls;
};

// A control without a window, drawn on its parent's.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;
};

// Where exceptions raised inside a window procedure go, since none may leave it. The default
// handler writes the message to the debugger.
using TExceptionEvent = TMethod<void(TObject* Sender, const std::exception& E)>;
void SetApplicationExceptionHandler(TExceptionEvent Handler);
void HandleApplicationException(TObject* Sender, const std::exception& E);

} // namespace zn
