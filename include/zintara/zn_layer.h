// TznFlashLayer: a movie as a shaped, per-pixel-alpha top-level window. The layer fills its
// form's client area and makes that form a layered window; instead of painting, it hands the
// driver's premultiplied BGRA buffer to UpdateLayeredWindow when its window is made and after
// every driver update, so the movie's transparent parts show what lies behind the form. The
// whole window can be faded further with MasterAlpha.
//
// The form should have no border or caption: the buffer replaces the whole window, placed at
// the form's position plus the layer's offset in the form's client area.
#pragma once

#include "zintara/components/flash_player_wnd.h"

#include <windows.h>

namespace zn {

// UpdateLayeredWindow as the layer calls it: looked up in user32.dll on first use, null where
// the system lacks it (the layer then updates nothing). Assignable, so that a caller can watch
// what the layer hands over.
using TUpdateLayeredWindowFunction = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                   BLENDFUNCTION*, DWORD);
TUpdateLayeredWindowFunction& UpdateLayeredWindowFunction();

class TznFlashLayer : public TznCustomFlashPlayerWnd {
public:
    explicit TznFlashLayer(TComponent* AOwner);

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    int MasterAlpha() const { return FMasterAlpha; }
    // Limited to 0..255; shows at the next driver update.
    void SetMasterAlpha(int Value);
    // Stored with the form; the layer attaches no behaviour to it.
    bool AllowDrag() const { return FAllowDrag; }
    void SetAllowDrag(bool Value) { FAllowDrag = Value; }

protected:
    // Makes the parent form layered (not in the designer) and shows the buffer on it.
    void CreateHandle() override;
    void Paint() override;
    void DoPaint(TObject* Sender, const TRect& ARect) override;

private:
    void UpdateLayer();

    int FMasterAlpha = 255;
    bool FAllowDrag = true;
};

} // namespace zn
