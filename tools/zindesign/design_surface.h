// The form being designed on screen: its mouse messages, and those of every window on it, go to
// the designer instead of the controls (a message hook of the thread), and the selection is
// drawn as grab handles and non-visual components as icons, both small windows over the form.
#pragma once

#include "form_designer.h"

#include "zintara/framework/handles.h"

#include <windows.h>

#include <vector>

namespace zn::zindesign {

class TDesignSurface {
public:
    explicit TDesignSurface(TFormDesigner& Designer);
    ~TDesignSurface();
    TDesignSurface(const TDesignSurface&) = delete;
    TDesignSurface& operator=(const TDesignSurface&) = delete;

    // Shows the designer's form with its client area's top left corner at screen point At.
    void ShowForm(POINT At);
    // Redraws the handles and icons after the selection or a bound changed.
    void Refresh();

private:
    static LRESULT CALLBACK MessageHook(int Code, WPARAM WParam, LPARAM LParam);
    bool Route(MSG& Message);
    void ClearDecorations();

    TFormDesigner& FDesigner;
    HHOOK FHook = nullptr;
    std::vector<HWND> FDecorations;
    std::vector<TDibSection> FIcons;
};

} // namespace zn::zindesign
