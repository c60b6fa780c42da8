// Colours and drawing: TColor with the system colours, TPen and TBrush (the values a canvas
// draws with), and TCanvas, which draws on a device context it is attached to.
#pragma once

#include "zintara/framework/method.h"
#include "zintara/framework/object.h"
#include "zintara/framework/handles.h"
#include "zintara/framework/types.h"

#include <windows.h>

#include <cstdint>

namespace zn {

// 0x00BBGGRR for a colour of its own; the high bit set and a COLOR_ index in the low byte for a
// system colour, which ColorToRGB resolves when it is drawn.
using TColor = std::int32_t;

inline constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor SystemColor(int Index)
{
    return clSystemColor | Index;
}

inline constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR);
inline constexpr TColor clBackground = SystemColor(COLOR_BACKGROUND);
inline constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
inline constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
inline constexpr TColor clMenu = SystemColor(COLOR_MENU);
inline constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
inline constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
inline constexpr TColor clMenuText = SystemColor(COLOR_MENUTEXT);
inline constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
inline constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
inline constexpr TColor clActiveBorder = SystemColor(COLOR_ACTIVEBORDER);
inline constexpr TColor clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER);
inline constexpr TColor clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE);
inline constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
inline constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
inline constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
inline constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
inline constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
inline constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
inline constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);
inline constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
inline constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
inline constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
inline constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
inline constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// The 0x00BBGGRR value a colour is drawn with: a system colour as the system has it now, any
// other colour with its top byte cleared.
TColor ColorToRGB(TColor Color);

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

// What a canvas draws lines and fills with; a change is announced through OnChange.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
};

class TPen : public TGraphicsObject {
public:
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;
    void Assign(const TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    int Width() const { return FWidth; }
    // Widths below 1 are drawn 1 pixel wide.
    void SetWidth(int Value);

private:
    TColor FColor = clBlack;
    TPenStyle FStyle = psSolid;
    int FWidth = 1;
};

class TBrush : public TGraphicsObject {
public:
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;
    void Assign(const TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

// Draws on a device context it does not own. The context is attached with SetHandle (null
// detaches, putting back the pen and brush the context had); a class that can make a context
// of its own when asked overrides CreateHandle.
class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // The context, made by CreateHandle when none is attached.
    HDC Handle();
    void SetHandle(HDC Value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TPen& Pen() { return FPen; }
    TBrush& Brush() { return FBrush; }

    // Outlined with the pen and filled with the brush, right and bottom edges excluded.
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& ARect)
    {
        Rectangle(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
    }
    // Filled with the brush, no outline.
    void FillRect(const TRect& ARect);
    void FrameRect(const TRect& ARect);
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    TColor Pixel(int X, int Y);
    void SetPixel(int X, int Y, TColor Color);
    // Copies Source's SourceRect into Dest of this canvas, stretched to fit.
    void CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect);
    // Draws Bitmap with its top-left corner at (X, Y).
    void Draw(int X, int Y, HBITMAP Bitmap);

protected:
    // Attaches a context when one is asked for and none is attached; the default raises
    // EInvalidOperation, since a plain canvas draws only where it is attached.
    virtual void CreateHandle();

private:
    void PenChanged(TObject* Sender);
    void BrushChanged(TObject* Sender);
    void RequirePen();
    void RequireBrush();

    HDC FHandle = nullptr;
    TPen FPen;
    TBrush FBrush;
    TGdiObject FPenObject;
    TGdiObject FBrushObject;
    // Released before the objects above, so no object is deleted while selected.
    TSelectedObject FPenSelection;
    TSelectedObject FBrushSelection;
};

} // namespace zn
