// The component palette: a tab per registered palette page, and on the chosen page a pointer
// button and a push button per component class, showing its palette bitmap (found by the class
// name in upper case) or, for a class without one, its name.
#pragma once

#include "zintara/framework/design_registry.h"
#include "zintara/framework/handles.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace zn::zindesign {

class TPaletteView {
public:
    TPaletteView(HWND Parent, int X, int Y, int Width);
    ~TPaletteView();
    TPaletteView(const TPaletteView&) = delete;
    TPaletteView& operator=(const TPaletteView&) = delete;

    int Height() const { return PaletteHeight; }
    // Called with the class a button picked, null for the pointer.
    std::function<void(const TClassInfo*)> OnChoose;
    // Shows Class as the chosen one (null: the pointer), as after a drop.
    void ShowChoice(const TClassInfo* Class);
    // The button of Class on the current page; null when it has none.
    HWND ButtonOf(const TClassInfo& Class) const;

    // The parent's WM_COMMAND and WM_NOTIFY; true when they were the palette's.
    bool Command(WPARAM WParam, LPARAM LParam);
    bool Notify(LPARAM LParam);

    static constexpr int PaletteHeight = 70;

private:
    void ShowPage(std::size_t Page);
    void ClearButtons();

    HWND FParent;
    HWND FTabs = nullptr;
    HWND FPointer = nullptr;
    std::vector<HWND> FButtons;
    std::vector<const TClassInfo*> FClasses;
    std::vector<TDibSection> FBitmaps;
};

// The palette bitmap of Class on the face colour of buttons (its bottom-left pixel's colour is
// the transparent one), empty when the class has none.
TDibSection PalettePicture(const TClassInfo& Class);

} // namespace zn::zindesign
