// TPen, TBrush and TCanvas: GDI pens and brushes made from the values when first drawn with,
// and dropped when a value changes.
#include "zintara/framework/graphics.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"

namespace zn {

namespace {

const wchar_t* const PenStyleNames[] = {L"psSolid",      L"psDash",  L"psDot",        L"psDashDot",
                                        L"psDashDotDot", L"psClear", L"psInsideFrame"};
const wchar_t* const BrushStyleNames[] = {L"bsSolid",    L"bsClear",     L"bsHorizontal",
                                          L"bsVertical", L"bsFDiagonal", L"bsBDiagonal",
                                          L"bsCross",    L"bsDiagCross"};

const int HatchStyles[] = {
    0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};

} // namespace

void TGraphicsObject::Changed()
{
    if (OnChange)
        OnChange(this);
}

const TClassInfo& TPen::ClassInfo()
{
    using P = TPublished<TPen>;
    static const TPropertyInfo properties[] = {
        P::Integer<&TPen::Color, &TPen::SetColor>(L"Color", clBlack),
        P::Enumeration<&TPen::Style, &TPen::SetStyle>(L"Style", PenStyleNames, psSolid),
        P::Integer<&TPen::Width, &TPen::SetWidth>(L"Width", 1),
    };
    static const TClassInfo info = DeclareClass<TPen, TPersistent>(L"TPen", properties);
    return info;
}
const TClassInfo& TPen::ClassType() const
{
    return ClassInfo();
}

void TPen::Assign(const TPersistent* Source)
{
    const auto* other = dynamic_cast<const TPen*>(Source);
    if (!other)
        return TPersistent::Assign(Source);
    FColor = other->FColor;
    FStyle = other->FStyle;
    FWidth = other->FWidth;
    Changed();
}

void TPen::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

void TPen::SetWidth(int Value)
{
    if (Value < 1)
        Value = 1;
    if (Value == FWidth)
        return;
    FWidth = Value;
    Changed();
}

const TClassInfo& TBrush::ClassInfo()
{
    using P = TPublished<TBrush>;
    static const TPropertyInfo properties[] = {
        P::Integer<&TBrush::Color, &TBrush::SetColor>(L"Color", clWhite),
        P::Enumeration<&TBrush::Style, &TBrush::SetStyle>(L"Style", BrushStyleNames, bsSolid),
    };
    static const TClassInfo info = DeclareClass<TBrush, TPersistent>(L"TBrush", properties);
    return info;
}
const TClassInfo& TBrush::ClassType() const
{
    return ClassInfo();
}

void TBrush::Assign(const TPersistent* Source)
{
    const auto* other = dynamic_cast<const TBrush*>(Source);
    if (!other)
        return TPersistent::Assign(Source);
    FColor = other->FColor;
    FStyle = other->FStyle;
    Changed();
}

void TBrush::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

const TClassInfo& TCanvas::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TCanvas, TPersistent>(L"TCanvas");
    return info;
}
const TClassInfo& TCanvas::ClassType() const
{
    return ClassInfo();
}

TCanvas::TCanvas()
{
    FPen.OnChange = TNotifyEvent::Bind<&TCanvas::PenChanged>(this);
    FBrush.OnChange = TNotifyEvent::Bind<&TCanvas::BrushChanged>(this);
}

TCanvas::~TCanvas()
{
    SetHandle(nullptr);
}

HDC TCanvas::Handle()
{
    if (!FHandle)
        CreateHandle();
    return FHandle;
}

void TCanvas::CreateHandle()
{
    throw EInvalidOperation(L"Canvas does not allow drawing");
}

void TCanvas::SetHandle(HDC Value)
{
    if (Value == FHandle)
        return;
    FPenSelection.reset();
    FBrushSelection.reset();
    FHandle = Value;
}

void TCanvas::PenChanged(TObject*)
{
    FPenSelection.reset();
    FPenObject.reset();
}

void TCanvas::BrushChanged(TObject*)
{
    FBrushSelection.reset();
    FBrushObject.reset();
}

void TCanvas::RequirePen()
{
    HDC dc = Handle();
    if (!FPenObject) {
        FPenSelection.reset();
        FPenObject.reset(
            CreatePen(FPen.Style(), FPen.Width(), static_cast<COLORREF>(ColorToRGB(FPen.Color()))));
        if (!FPenObject)
            throw EOutOfMemory(L"Cannot create a pen: " + SystemErrorMessage(GetLastError()));
    }
    if (!FPenSelection)
        FPenSelection = SelectInto(dc, FPenObject.get());
}

void TCanvas::RequireBrush()
{
    HDC dc = Handle();
    if (!FBrushObject) {
        FBrushSelection.reset();
        LOGBRUSH brush{};
        brush.lbColor = static_cast<COLORREF>(ColorToRGB(FBrush.Color()));
        brush.lbStyle = FBrush.Style() == bsSolid   ? BS_SOLID
                        : FBrush.Style() == bsClear ? BS_NULL
                                                    : BS_HATCHED;
        brush.lbHatch = static_cast<ULONG_PTR>(HatchStyles[FBrush.Style()]);
        FBrushObject.reset(CreateBrushIndirect(&brush));
        if (!FBrushObject)
            throw EOutOfMemory(L"Cannot create a brush: " + SystemErrorMessage(GetLastError()));
    }
    if (!FBrushSelection)
        FBrushSelection = SelectInto(dc, FBrushObject.get());
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    RequirePen();
    RequireBrush();
    ::Rectangle(FHandle, X1, Y1, X2, Y2);
}

void TCanvas::FillRect(const TRect& ARect)
{
    RequireBrush();
    ::FillRect(FHandle, reinterpret_cast<const RECT*>(&ARect),
               static_cast<HBRUSH>(FBrushObject.get()));
}

void TCanvas::FrameRect(const TRect& ARect)
{
    RequireBrush();
    ::FrameRect(FHandle, reinterpret_cast<const RECT*>(&ARect),
                static_cast<HBRUSH>(FBrushObject.get()));
}

void TCanvas::MoveTo(int X, int Y)
{
    MoveToEx(Handle(), X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y)
{
    RequirePen();
    ::LineTo(FHandle, X, Y);
}

TColor TCanvas::Pixel(int X, int Y)
{
    return static_cast<TColor>(GetPixel(Handle(), X, Y));
}

void TCanvas::SetPixel(int X, int Y, TColor Color)
{
    SetPixelV(Handle(), X, Y, static_cast<COLORREF>(ColorToRGB(Color)));
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect)
{
    HDC target = Handle();
    HDC from = Source.Handle();
    SetStretchBltMode(target, COLORONCOLOR);
    StretchBlt(target, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), from, SourceRect.Left,
               SourceRect.Top, SourceRect.Width(), SourceRect.Height(), SRCCOPY);
}

void TCanvas::Draw(int X, int Y, HBITMAP Bitmap)
{
    BITMAP info{};
    if (!Bitmap || !GetObjectW(Bitmap, sizeof(info), &info))
        return;
    HDC target = Handle();
    TMemoryDC source(CreateCompatibleDC(target));
    if (!source)
        return;
    TSelectedObject selected = SelectInto(source.get(), Bitmap);
    BitBlt(target, X, Y, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
}

} // namespace zn
