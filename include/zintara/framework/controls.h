// The visual base: TControl (a rectangle on a parent, with colour, layout, hints, mouse hooks
// and messages), TWinControl (a control with a window of its own, created when first needed,
// with painting, focus and keys), TGraphicControl (painted on its parent's window) and
// TCustomControl (a window painted through a canvas).
//
// A control class publishes the framework properties it wants with TPublishedControl:
//
//   static const TPropertyInfo Properties[] = {
//       TPublishedControl<TMyControl>::Align(),
//       TPublishedControl<TMyControl>::Color(),
//       TPublishedControl<TMyControl>::OnClick(),
//   };
#pragma once

#include "zintara/framework/component.h"
#include "zintara/framework/control_types.h"
#include "zintara/framework/graphics.h"
#include "zintara/framework/method.h"
#include "zintara/framework/properties.h"
#include "zintara/framework/types.h"

#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace zn {

class TWinControl;
class TControlCanvas;

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
    // Every change of place or size comes here, so overrides see them all.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    // In the parent's client coordinates.
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    // The area children are laid out in, in the control's own coordinates.
    virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
    TPoint ClientToScreen(TPoint Point) const;
    TPoint ScreenToClient(TPoint Point) const;

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    // Layout inside the parent's client area, re-applied whenever the parent's size changes.
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);

    // A control's own colour clears ParentColor; while ParentColor is set the control takes its
    // parent's colour. Every change sends the control CM_COLORCHANGED.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    bool IsColorStored() const { return !FParentColor; }

    const std::wstring& Hint() const { return FHint; }
    void SetHint(const std::wstring& Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    bool IsShowHintStored() const { return !FParentShowHint; }

    // A component the control refers to without owning it; cleared when that component goes.
    TComponent* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TComponent* Value);

    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor Value) { FDragCursor = Value; }
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode Value) { FDragMode = Value; }
    // Starts dragging this control: OnStartDrag, then the mouse carries it until the left
    // button is released over a control that accepts it (DragOver) or anywhere else.
    void BeginDrag();
    bool Dragging() const;
    // Ends a drag of this control: dropped on the control under the mouse when Drop is set and
    // that control accepts it, else cancelled; OnEndDrag follows either way.
    void EndDrag(bool Drop);

    // Asks for a repaint: the control's rectangle on its parent's window, when it has one.
    virtual void Invalidate();
    // Invalidates and paints at once.
    void Repaint();
    // Sends a message straight to the control's WndProc and returns its result.
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* AParent) override;

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseWheelEvent OnMouseWheel;
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;

    // The message handlers' hooks, public so that the parent and the drag can call them.
    virtual void WndProc(TMessage& Message);
    virtual void DragDrop(TObject* Source, int X, int Y);
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);

protected:
    // Moves the fields without touching any window, for messages that report a move.
    void UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

    // What is done with a message no handler took; TWinControl passes it to DefWindowProcW.
    virtual void DefaultHandler(TMessage& Message);
    virtual void Click();
    // Mouse hooks in client coordinates; the defaults raise the events. DoMouseWheel gets the
    // position in screen coordinates and answers whether the wheel was handled.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual void DoStartDrag(TObject*& DragObject);
    virtual void DoEndDrag(TObject* Target, int X, int Y);

    virtual void CMColorChanged(TMessage& Message);
    virtual void CMParentColorChanged(TMessage& Message);
    virtual void CMParentShowHintChanged(TMessage& Message);

    // The canvas that TGraphicControl and TCustomControl paint with, released when the control
    // moves, leaves its parent or loses its window.
    std::unique_ptr<TControlCanvas> FCanvas;
    void ReleaseCanvas();

private:
    friend class TWinControl;
    void MouseMessage(TMessage& Message);
    void WheelMessage(TMessage& Message);
    void RequestAlign();

    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    TColor FColor = clWindow;
    bool FParentColor = true;
    std::wstring FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TComponent* FPopupMenu = nullptr;
    TCursor FDragCursor = crDrag;
    TDragMode FDragMode = dmManual;
    bool FClicking = false;
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
    // The framework control whose window Window is, null for any other window.
    static TWinControl* FindControl(HWND Window);

    // A window outside the framework to create the window in when there is no Parent.
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND Value);

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const;
    // The child under Pos (client coordinates), topmost first: visible graphic children, enabled
    // ones unless AllowDisabled, windowed ones too when AllowWinControls; null when none.
    TControl* ControlAtPos(TPoint Pos, bool AllowDisabled = false,
                           bool AllowWinControls = false) const;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect ClientRect() const override;
    void SetVisible(bool Value) override;
    void SetEnabled(bool Value) override;
    void SetParent(TWinControl* AParent) override;
    void Invalidate() override;
    void GetChildren(std::vector<TComponent*>& Children, const TComponent* Root) const override;

    // Paints the control and its children, windowed and graphic, into DC with the control's
    // top-left corner at (X, Y), without touching the screen; DC's state is left as it was.
    void PaintTo(HDC DC, int X, int Y);
    // Lays the children out again: aligned ones in order, anchored ones by the change of size.
    void Realign();

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // Moves the focus to the next (or previous) tab stop among this control's descendants.
    void SelectNext(TWinControl* Current, bool GoForward);

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnResize;

    void WndProc(TMessage& Message) override;

protected:
    void DefaultHandler(TMessage& Message) override;
    void Loaded() override;
    virtual void CreateParams(TCreateParams& Params);
    // Makes the window (CreateWnd) and then the windows of the windowed children.
    virtual void CreateHandle();
    virtual void CreateWnd();
    virtual void DestroyHandle();

    // Key hooks; the defaults raise the events. A hook that consumes the key sets it to 0.
    virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(wchar_t& Key);
    virtual void KeyUp(std::uint16_t& Key, TShiftState Shift);
    // Paints the control's own surface into DC; children are painted after it.
    virtual void PaintWindow(HDC DC);
    virtual void Resize();

    virtual void WMPaint(TMessage& Message);
    virtual void WMEraseBkgnd(TMessage& Message);
    virtual void WMGetDlgCode(TMessage& Message);
    virtual void WMKeyDown(TMessage& Message);
    virtual void WMKeyUp(TMessage& Message);
    virtual void WMChar(TMessage& Message);
    virtual void WMSetFocus(TMessage& Message);
    virtual void WMKillFocus(TMessage& Message);
    virtual void WMWindowPosChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message) override;

private:
    static const wchar_t* WindowClassName();
    static LRESULT CALLBACK WindowProcedure(HWND Window, UINT Message, WPARAM WParam,
                                            LPARAM LParam);
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    void RouteMouse(TMessage& Message);
    void RouteWheel(TMessage& Message);
    void PaintControls(HDC DC);
    void NotifyControls(UINT Msg);
    void AlignControls();
    void CollectTabStops(std::vector<TWinControl*>& TabStops);
    void ReleaseChildCanvases();

    friend class TControl;
    HWND FHandle = nullptr;
    HWND FParentWindow = nullptr;
    bool FCreatingHandle = false;
    bool FAligning = false;
    bool FTabStop = false;
    std::vector<TControl*> FControls;
    // The child a pressed mouse button goes on talking to, until every button is up.
    TControl* FCaptureControl = nullptr;
    // The client size the children were last laid out for, which anchors measure from.
    int FAlignedWidth = -1;
    int FAlignedHeight = -1;
};

// A control without a window, painted on its parent's window at its place there.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // Drawn in the control's client coordinates: during the parent's paint on the parent's
    // paint context, else on the parent's window clipped to the control.
    TCanvas& Canvas();
    void WndProc(TMessage& Message) override;

protected:
    virtual void Paint();
};

// A windowed control that paints itself through a canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    TCanvas& Canvas();

protected:
    virtual void Paint();
    void PaintWindow(HDC DC) override;
};

// A canvas that makes its own context for its control when drawn on outside a paint: the
// control's window, or the parent's window clipped to a graphic control. Where there is no
// window to draw on (no parent window yet, the control hidden), drawing goes to a memory
// context and is lost, as it would be on a hidden window.
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl& AControl) : FControl(AControl) {}
    ~TControlCanvas() override;

    TControl& Control() const { return FControl; }
    // Releases a context the canvas made itself; one attached with SetHandle is left alone.
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl& FControl;
    // The context the canvas draws on: the window's own, or a memory context when the control
    // has no window to draw on.
    TWindowDC FWindowDC;
    TMemoryDC FMemoryDC;
};

// The framework properties, with the framework's defaults, for a class C to publish.
template <class C>
struct TPublishedControl {
    using P = TPublished<C>;
    static constexpr TPropertyInfo Align()
    {
        return P::template Enumeration<&TControl::Align, &TControl::SetAlign>(L"Align", AlignNames,
                                                                              alNone);
    }
    static constexpr TPropertyInfo Anchors()
    {
        return P::template Set<&TControl::Anchors, &TControl::SetAnchors>(L"Anchors", AnchorNames,
                                                                          TAnchors{akLeft, akTop});
    }
    // Colour and ShowHint are written whenever the control has its own (ParentColor or
    // ParentShowHint false), even when it equals the usual default: reading ParentColor false
    // alone would keep the colour taken from the parent. New controls have clWindow and false.
    static constexpr TPropertyInfo Color()
    {
        return P::template Integer<&TControl::Color, &TControl::SetColor, &TControl::IsColorStored>(
            L"Color");
    }
    static constexpr TPropertyInfo DragCursor()
    {
        return P::template Integer<&TControl::DragCursor, &TControl::SetDragCursor>(L"DragCursor",
                                                                                    crDrag);
    }
    static constexpr TPropertyInfo DragMode()
    {
        return P::template Enumeration<&TControl::DragMode, &TControl::SetDragMode>(
            L"DragMode", DragModeNames, dmManual);
    }
    static constexpr TPropertyInfo Enabled()
    {
        return P::template Boolean<&TControl::Enabled, &TControl::SetEnabled>(L"Enabled", true);
    }
    static constexpr TPropertyInfo Hint()
    {
        return P::template WideString<&TControl::Hint, &TControl::SetHint>(L"Hint");
    }
    static constexpr TPropertyInfo ParentColor()
    {
        return P::template Boolean<&TControl::ParentColor, &TControl::SetParentColor>(
            L"ParentColor", true);
    }
    static constexpr TPropertyInfo ParentShowHint()
    {
        return P::template Boolean<&TControl::ParentShowHint, &TControl::SetParentShowHint>(
            L"ParentShowHint", true);
    }
    static constexpr TPropertyInfo PopupMenu()
    {
        return P::template Component<&TControl::PopupMenu, &TControl::SetPopupMenu>(L"PopupMenu");
    }
    static constexpr TPropertyInfo ShowHint()
    {
        return P::template Boolean<&TControl::ShowHint, &TControl::SetShowHint,
                                   &TControl::IsShowHintStored>(L"ShowHint");
    }
    static constexpr TPropertyInfo TabStop()
    {
        return P::template Boolean<&TWinControl::TabStop, &TWinControl::SetTabStop>(L"TabStop",
                                                                                    false);
    }
    static constexpr TPropertyInfo Visible()
    {
        return P::template Boolean<&TControl::Visible, &TControl::SetVisible>(L"Visible", true);
    }
    static constexpr TPropertyInfo OnClick() { return P::Event(L"OnClick"); }
    static constexpr TPropertyInfo OnDragDrop() { return P::Event(L"OnDragDrop"); }
    static constexpr TPropertyInfo OnDragOver() { return P::Event(L"OnDragOver"); }
    static constexpr TPropertyInfo OnEndDrag() { return P::Event(L"OnEndDrag"); }
    static constexpr TPropertyInfo OnStartDrag() { return P::Event(L"OnStartDrag"); }
    static constexpr TPropertyInfo OnMouseDown() { return P::Event(L"OnMouseDown"); }
    static constexpr TPropertyInfo OnMouseMove() { return P::Event(L"OnMouseMove"); }
    static constexpr TPropertyInfo OnMouseUp() { return P::Event(L"OnMouseUp"); }
    static constexpr TPropertyInfo OnMouseWheel() { return P::Event(L"OnMouseWheel"); }
    static constexpr TPropertyInfo OnKeyDown() { return P::Event(L"OnKeyDown"); }
    static constexpr TPropertyInfo OnKeyPress() { return P::Event(L"OnKeyPress"); }
    static constexpr TPropertyInfo OnKeyUp() { return P::Event(L"OnKeyUp"); }
    static constexpr TPropertyInfo OnEnter() { return P::Event(L"OnEnter"); }
    static constexpr TPropertyInfo OnExit() { return P::Event(L"OnExit"); }
};

// Puts Root in the designer's state (csDesigning) or takes it out, with the components it owns
// and the controls on it, whoever owns those: what a form designer does to the form it edits.
void SetDesignState(TComponent& Root, bool Designing);

// Where exceptions raised inside a window procedure go, since none may leave it. The default
// handler writes the message to the debugger; TApplication installs its own.
using TExceptionEvent = TMethod<void(TObject* Sender, const std::exception& E)>;
void SetApplicationExceptionHandler(TExceptionEvent Handler);
void HandleApplicationException(TObject* Sender, const std::exception& E);

} // namespace zn
