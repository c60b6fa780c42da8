// The scripted designer session.
#include "demo_script.h"

#include "dialog_answer.h"
#include "png_writer.h"
#include "screenshot.h"

#include "zintara/framework/application.h"
#include "zintara/framework/exceptions.h"
#include "zintara/zn_flashreg.h"

namespace zn::zindesign {

namespace {

// Where the script drops each component class, by name, and whether it then sizes it: icons
// first, then the players. The layer fills the form whatever the place, and lies under the rest.
struct TPlacement {
    const wchar_t* ClassName;
    TPoint At;
    bool Sized;
};
constexpr TPlacement Placements[] = {
    {L"TznFlashList", {12, 12}, false},    {L"TznFlashPlayerComp", {52, 12}, false},
    {L"TznFlashPlayer", {12, 60}, true},   {L"TznFlashPlayerWnd", {196, 60}, true},
    {L"TznFlashLayer", {380, 240}, false},
};
constexpr int PlayerWidth = 168, PlayerHeight = 126;

void Pump(int Milliseconds = 100)
{
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(Milliseconds);
    do {
        Application()->ProcessMessages();
        Sleep(10);
    } while (GetTickCount64() < end);
}

class TScript {
public:
    TScript(TDesignerWindow& Window, TFormDesigner& Designer) : FWindow(Window), FDesigner(Designer)
    {}

    // The mouse on the form, through the same queue a user's mouse goes through.
    void Press(TPoint At, bool Shift = false)
    {
        const WPARAM keys = MK_LBUTTON | (Shift ? MK_SHIFT : 0);
        PostMessageW(Form(), WM_LBUTTONDOWN, keys, MAKELPARAM(At.X, At.Y));
        PostMessageW(Form(), WM_LBUTTONUP, keys & ~MK_LBUTTON, MAKELPARAM(At.X, At.Y));
        Pump();
    }
    void Drag(TPoint From, TPoint To)
    {
        PostMessageW(Form(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(From.X, From.Y));
        PostMessageW(Form(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(To.X, To.Y));
        PostMessageW(Form(), WM_LBUTTONUP, 0, MAKELPARAM(To.X, To.Y));
        Pump();
    }

    void Drop(const TClassInfo& Class, TPoint At)
    {
        HWND button = FWindow.Palette().ButtonOf(Class);
        if (!button)
            throw EInvalidOperation(L"The palette has no button for " + std::wstring(Class.Name));
        SendMessageW(button, BM_CLICK, 0, 0);
        Press(At);
    }

    void Choose(const std::wstring& Property)
    {
        if (!FWindow.Inspector().ChooseProperty(Property))
            throw EInvalidOperation(L"The inspector shows no property " + Property);
    }
    // Types Value into the chosen property's field and presses Enter.
    void Type(const std::wstring& Property, const std::wstring& Value)
    {
        Choose(Property);
        HWND field = FWindow.Inspector().ValueEdit();
        SetWindowTextW(field, Value.c_str());
        SendMessageW(field, WM_KEYDOWN, VK_RETURN, 0);
        Pump();
    }
    void PickFromList(const std::wstring& Property, const std::wstring& Value)
    {
        Choose(Property);
        HWND list = FWindow.Inspector().ValueList();
        if (SendMessageW(list, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(Value.c_str())) == CB_ERR)
            throw EInvalidOperation(L"The list of " + Property + L" has no " + Value);
        SendMessageW(FWindow.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        Pump();
    }
    void PressDialogButton(const std::wstring& Property, const std::wstring& Answer)
    {
        Choose(Property);
        TDialogAnswer answer(Answer);
        SendMessageW(FWindow.Inspector().DialogButton(), BM_CLICK, 0, 0);
        Pump();
        if (!answer.Answered())
            throw EInvalidOperation(L"The editor of " + Property + L" showed no dialog");
    }

    HWND Form() { return FDesigner.Form().Handle(); }

private:
    TDesignerWindow& FWindow;
    TFormDesigner& FDesigner;
};

const TClassInfo& PaletteClass(const std::wstring& Name)
{
    for (const TPalettePage& page : PalettePages())
        if (page.Name == ZintaraPalettePage)
            for (const TClassInfo* info : page.Classes)
                if (Name == info->Name)
                    return *info;
    throw EInvalidOperation(L"The palette page Zintara has no " + Name);
}

void SaveScreenshot(TDesignerWindow& Window, const std::wstring& Path)
{
    const RECT area = Window.ScreenArea();
    const std::vector<std::uint32_t> pixels = zinshow::CaptureScreen(area);
    if (pixels.empty())
        throw EInvalidOperation(L"The screen could not be read");
    zinplay::TPngWriter writer;
    writer.Write(Path, pixels.data(), area.right - area.left, area.bottom - area.top);
}

} // namespace

void RunDemoScript(TDesignerWindow& Window, const std::wstring& OutFolder,
                   const std::wstring& EmbedFile)
{
    TFormDesigner& designer = Window.Designer();
    TScript script(Window, designer);
    Pump(300);
    for (const TPlacement& placement : Placements) {
        script.Drop(PaletteClass(placement.ClassName), placement.At);
        if (placement.Sized)
            // By dragging the bottom right handle of their first 100 x 100.
            script.Drag(TPoint{placement.At.X + 100, placement.At.Y + 100},
                        TPoint{placement.At.X + PlayerWidth, placement.At.Y + PlayerHeight});
    }

    // One embedded file, loaded through the list's editor and its open dialog.
    script.Press(Placements[0].At);
    script.Choose(L"Flashs");
    Window.Inspector().PickCollectionItem(-1);
    script.PressDialogButton(L"FlashStore", EmbedFile);

    // Every player plays the embedded file: the graphic player, then the rest with Shift.
    const std::wstring movie = EmbedFile.substr(EmbedFile.find_last_of(L"\\/") + 1);
    script.Press(TPoint{Placements[2].At.X + 8, Placements[2].At.Y + 8});
    for (std::size_t i : {1u, 3u, 4u})
        script.Press(TPoint{Placements[i].At.X + 8, Placements[i].At.Y + 8}, true);
    script.Type(L"Movie", movie);

    // A skin from the list, for the graphic player and the non-visual one together. A press on
    // the list first: one on a selected player would keep the whole selection to move it.
    script.Press(Placements[0].At);
    script.Press(TPoint{Placements[2].At.X + 8, Placements[2].At.Y + 8});
    script.Press(TPoint{Placements[1].At.X + 8, Placements[1].At.Y + 8}, true);
    script.PickFromList(L"Skin", L"MojaveOverAll");

    Pump(1000);

    CreateDirectoryW(OutFolder.c_str(), nullptr);
    designer.Save(OutFolder + L"\\sample.dfm", TFormFormat::Binary);
    designer.Save(OutFolder + L"\\sample.txt", TFormFormat::Text);
    SaveScreenshot(Window, OutFolder + L"\\designer.png");
}

} // namespace zn::zindesign
