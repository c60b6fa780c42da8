// The painted controls: TGraphicControl on its parent's window, TCustomControl on its own, and
// TControlCanvas, the canvas that finds a context for them outside a paint.
#include "zintara/framework/controls.h"

#include "paint_context.h"
#include "zintara/framework/exceptions.h"

namespace zn {

namespace {

// Attaches DC to a control's canvas for one paint, whatever the paint does.
class TCanvasPaint {
public:
    TCanvasPaint(TControlCanvas& Canvas, HDC DC) : FCanvas(Canvas) {
        FCanvas.FreeHandle();
        FCanvas.SetHandle(DC);
    }
    ~TCanvasPaint() { FCanvas.SetHandle(nullptr); }
    TCanvasPaint(const TCanvasPaint&) = delete;
    TCanvasPaint& operator=(const TCanvasPaint&) = delete;

private:
    TControlCanvas& FCanvas;
};

} // namespace

const TClassInfo& TGraphicControl::ClassInfo() {
    static const TClassInfo Info = DeclareClass<TGraphicControl, TControl>(L"TGraphicControl");
    return Info;
}
const TClassInfo& TGraphicControl::ClassType() const { return ClassInfo(); }

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
    FCanvas = std::make_unique<TControlCanvas>(*this);
}

TGraphicControl::~TGraphicControl() { ReleaseCanvas(); }

TCanvas& TGraphicControl::Canvas() { return *FCanvas; }

void TGraphicControl::WndProc(TMessage& Message) {
    // The parent sends WM_PAINT with its context, already moved to this control's place.
    if (Message.Msg == WM_PAINT && Message.WParam) {
        TCanvasPaint Paint(*FCanvas, reinterpret_cast<HDC>(Message.WParam));
        this->Paint();
        Message.Result = 0;
        return;
    }
    TControl::WndProc(Message);
}

void TGraphicControl::Paint() {}

const TClassInfo& TCustomControl::ClassInfo() {
    static const TClassInfo Info = DeclareClass<TCustomControl, TWinControl>(L"TCustomControl");
    return Info;
}
const TClassInfo& TCustomControl::ClassType() const { return ClassInfo(); }

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
    FCanvas = std::make_unique<TControlCanvas>(*this);
}

TCustomControl::~TCustomControl() { ReleaseCanvas(); }

TCanvas& TCustomControl::Canvas() { return *FCanvas; }

void TCustomControl::PaintWindow(HDC DC) {
    TCanvasPaint Paint(*FCanvas, DC);
    this->Paint();
}

void TCustomControl::Paint() {}

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
    auto* Window = dynamic_cast<TWinControl*>(&FControl);
    bool Graphic = Window == nullptr;
    if (Graphic) Window = FControl.Parent();
    HDC DC = nullptr;
    if (Window && Window->HandleAllocated() && FControl.Visible()) {
        const HWND Handle = Window->Handle();
        FWindowDC.reset({Handle, GetDCEx(Handle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS)});
        DC = FWindowDC.get().Value;
        if (DC && Graphic) {
            MoveWindowOrg(DC, FControl.Left(), FControl.Top());
            IntersectClipRect(DC, 0, 0, FControl.Width(), FControl.Height());
        }
    }
    if (!DC) {
        FMemoryDC.reset(CreateCompatibleDC(nullptr));
        DC = FMemoryDC.get();
    }
    if (!DC) throw EOutOfMemory(L"Cannot get a device context for " + FControl.ClassName());
    SetHandle(DC);
}

void TControlCanvas::FreeHandle() {
    // Taken out first: deselecting the canvas's objects below must find no context to free.
    TWindowDC WindowDC = std::move(FWindowDC);
    TMemoryDC MemoryDC = std::move(FMemoryDC);
    if (!WindowDC && !MemoryDC) return;
    SetHandle(nullptr);
}

} // namespace zn
