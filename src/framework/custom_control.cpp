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
    TCanvasPaint(TControlCanvas& Canvas, HDC DC) : FCanvas(Canvas)
    {
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

const TClassInfo& TGraphicControl::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TGraphicControl, TControl>(L"TGraphicControl");
    return info;
}
const TClassInfo& TGraphicControl::ClassType() const
{
    return ClassInfo();
}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner)
{
    FCanvas = std::make_unique<TControlCanvas>(*this);
}

TGraphicControl::~TGraphicControl()
{
    ReleaseCanvas();
}

TCanvas& TGraphicControl::Canvas()
{
    return *FCanvas;
}

void TGraphicControl::WndProc(TMessage& Message)
{
    // The parent sends WM_PAINT with its context, already moved to this control's place.
    if (Message.Msg == WM_PAINT && Message.WParam) {
        TCanvasPaint paint(*FCanvas, reinterpret_cast<HDC>(Message.WParam));
        this->Paint();
        Message.Result = 0;
        return;
    }
    TControl::WndProc(Message);
}

void TGraphicControl::Paint() {}

const TClassInfo& TCustomControl::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TCustomControl, TWinControl>(L"TCustomControl");
    return info;
}
const TClassInfo& TCustomControl::ClassType() const
{
    return ClassInfo();
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner)
{
    FCanvas = std::make_unique<TControlCanvas>(*this);
}

TCustomControl::~TCustomControl()
{
    ReleaseCanvas();
}

TCanvas& TCustomControl::Canvas()
{
    return *FCanvas;
}

void TCustomControl::PaintWindow(HDC DC)
{
    TCanvasPaint paint(*FCanvas, DC);
    this->Paint();
}

void TCustomControl::Paint() {}

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

void TControlCanvas::CreateHandle()
{
    auto* window = dynamic_cast<TWinControl*>(&FControl);
    bool graphic = window == nullptr;
    if (graphic)
        window = FControl.Parent();
    HDC dc = nullptr;
    if (window && window->HandleAllocated() && FControl.Visible()) {
        const HWND handle = window->Handle();
        FWindowDC.reset({handle, GetDCEx(handle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS)});
        dc = FWindowDC.get().Value;
        if (dc && graphic) {
            MoveWindowOrg(dc, FControl.Left(), FControl.Top());
            IntersectClipRect(dc, 0, 0, FControl.Width(), FControl.Height());
        }
    }
    if (!dc) {
        FMemoryDC.reset(CreateCompatibleDC(nullptr));
        dc = FMemoryDC.get();
    }
    if (!dc)
        throw EOutOfMemory(L"Cannot get a device context for " + FControl.ClassName());
    SetHandle(dc);
}

void TControlCanvas::FreeHandle()
{
    // Taken out first: deselecting the canvas's objects below must find no context to free.
    TWindowDC window_dc = std::move(FWindowDC);
    TMemoryDC memory_dc = std::move(FMemoryDC);
    if (!window_dc && !memory_dc)
        return;
    SetHandle(nullptr);
}

} // namespace zn
