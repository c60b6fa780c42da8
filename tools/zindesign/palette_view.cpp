// The component palette's windows.
#include "palette_view.h"

#include "zintara/framework/palette_bitmaps.h"

#include <wingdi.h>

#include <commctrl.h>

namespace zn::zindesign {

namespace {

constexpr int FirstButtonId = 1100, PointerId = 1099, TabsId = 1098;
constexpr int ButtonExtent = 34, TabHeaderHeight = 26;

} // namespace

TDibSection PalettePicture(const TClassInfo& Class)
{
    TDibSection source = LoadPaletteBitmap(Class);
    BITMAP shape{};
    if (!source || !GetObjectW(source.get(), sizeof(shape), &shape))
        return {};
    const TWindowDC screen = WindowDC(nullptr);
    TDibSection picture(CreateCompatibleBitmap(screen.get().Value, shape.bmWidth, shape.bmHeight));
    TMemoryDC from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
    const TSelectedObject reading = SelectInto(from.get(), source.get());
    const TSelectedObject writing = SelectInto(to.get(), picture.get());
    RECT area{0, 0, shape.bmWidth, shape.bmHeight};
    FillRect(to.get(), &area, GetSysColorBrush(COLOR_BTNFACE));
    TransparentBlt(to.get(), 0, 0, shape.bmWidth, shape.bmHeight, from.get(), 0, 0, shape.bmWidth,
                   shape.bmHeight, GetPixel(from.get(), 0, shape.bmHeight - 1));
    return picture;
}

TPaletteView::TPaletteView(HWND Parent, int X, int Y, int Width) : FParent(Parent)
{
    FTabs = CreateWindowExW(
        0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, X, Y, Width, PaletteHeight,
        Parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(TabsId)), nullptr, nullptr);
    const std::vector<TPalettePage>& pages = PalettePages();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        std::wstring text = pages[i].Name;
        item.pszText = text.data();
        SendMessageW(FTabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    FPointer =
        CreateWindowExW(0, L"BUTTON", L"\x2196",
                        WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | BS_PUSHLIKE | WS_GROUP, X + 6,
                        Y + TabHeaderHeight + 4, ButtonExtent, ButtonExtent, Parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(PointerId)), nullptr, nullptr);
    SendMessageW(FPointer, BM_SETCHECK, BST_CHECKED, 0);
    if (!pages.empty())
        ShowPage(0);
}

TPaletteView::~TPaletteView()
{
    ClearButtons();
}

void TPaletteView::ClearButtons()
{
    for (HWND button : FButtons)
        DestroyWindow(button);
    FButtons.clear();
    FBitmaps.clear();
    FClasses.clear();
}

void TPaletteView::ShowPage(std::size_t Page)
{
    ClearButtons();
    RECT tabs{};
    GetWindowRect(FTabs, &tabs);
    MapWindowPoints(HWND_DESKTOP, FParent, reinterpret_cast<POINT*>(&tabs), 2);
    int x = tabs.left + 6 + ButtonExtent + 8;
    for (const TClassInfo* info : PalettePages()[Page].Classes) {
        TDibSection picture = PalettePicture(*info);
        HBITMAP bitmap = picture.get();
        HWND button = CreateWindowExW(
            0, L"BUTTON", info->Name,
            WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | BS_PUSHLIKE | (bitmap ? BS_BITMAP : 0), x,
            tabs.top + TabHeaderHeight + 4, bitmap ? ButtonExtent : 120, ButtonExtent, FParent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(FirstButtonId + FButtons.size())), nullptr,
            nullptr);
        if (bitmap) {
            SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
            FBitmaps.push_back(std::move(picture));
        }
        SetWindowPos(button, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        x += (bitmap ? ButtonExtent : 120) + 2;
        FButtons.push_back(button);
        FClasses.push_back(info);
    }
    SetWindowPos(FPointer, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowChoice(nullptr);
}

void TPaletteView::ShowChoice(const TClassInfo* Class)
{
    SendMessageW(FPointer, BM_SETCHECK, Class ? BST_UNCHECKED : BST_CHECKED, 0);
    for (std::size_t i = 0; i < FButtons.size(); ++i)
        SendMessageW(FButtons[i], BM_SETCHECK, FClasses[i] == Class ? BST_CHECKED : BST_UNCHECKED,
                     0);
}

HWND TPaletteView::ButtonOf(const TClassInfo& Class) const
{
    for (std::size_t i = 0; i < FClasses.size(); ++i)
        if (FClasses[i] == &Class)
            return FButtons[i];
    return nullptr;
}

bool TPaletteView::Command(WPARAM WParam, LPARAM)
{
    const int id = LOWORD(WParam);
    const TClassInfo* chosen = nullptr;
    if (id >= FirstButtonId && id < FirstButtonId + static_cast<int>(FButtons.size()))
        chosen = FClasses[static_cast<std::size_t>(id - FirstButtonId)];
    else if (id != PointerId)
        return false;
    ShowChoice(chosen);
    if (OnChoose)
        OnChoose(chosen);
    return true;
}

bool TPaletteView::Notify(LPARAM LParam)
{
    const auto* header = reinterpret_cast<const NMHDR*>(LParam);
    if (header->hwndFrom != FTabs || header->code != TCN_SELCHANGE)
        return false;
    ShowPage(static_cast<std::size_t>(SendMessageW(FTabs, TCM_GETCURSEL, 0, 0)));
    if (OnChoose)
        OnChoose(nullptr);
    return true;
}

} // namespace zn::zindesign
