// The designer's main window and its menu.
#include "designer_window.h"

#include "error_report.h"

#include "zintara/framework/dialogs.h"

#include <commdlg.h>

namespace zn::zindesign {

namespace {

enum TMenuCommand { cmNew = 1001, cmOpen, cmSave, cmSaveText, cmExit };
constexpr int WindowWidth = 320, WindowHeight = 640;
const wchar_t* const FormFilter = L"Form files|*.dfm;*.txt|All files|*.*";

HMENU FileMenu()
{
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, cmNew, L"&New form");
    AppendMenuW(file, MF_STRING, cmOpen, L"&Open...");
    AppendMenuW(file, MF_STRING, cmSave, L"&Save...");
    AppendMenuW(file, MF_STRING, cmSaveText, L"Save as &text...");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, cmExit, L"E&xit");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    return bar;
}

} // namespace

TDesignerWindow::TDesignerWindow(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption(L"zindesign");
    SetBounds(16, 16, WindowWidth, WindowHeight);
    HWND window = Handle();
    SetMenu(window, FileMenu());
    const int width = ClientWidth() - 8;
    FPalette = std::make_unique<TPaletteView>(window, 4, 4, width);
    const int inspector_top = 8 + TPaletteView::PaletteHeight;
    FInspector = std::make_unique<TInspectorView>(FDesigner, window, 4, inspector_top, width,
                                                  ClientHeight() - inspector_top - 4);
    FSurface = std::make_unique<TDesignSurface>(FDesigner);

    FPalette->OnChoose = [this](const TClassInfo* Class) { FDesigner.SetPaletteChoice(Class); };
    FDesigner.OnChange = [this] {
        FSurface->Refresh();
        FInspector->Refresh();
        FPalette->ShowChoice(FDesigner.PaletteChoice());
    };
    FDesigner.OnFormReplaced = [this] {
        RECT frame{};
        GetWindowRect(Handle(), &frame);
        FSurface->ShowForm(POINT{frame.right + 16, frame.top + 40});
    };
    FDesigner.OnFormReplaced();
    FInspector->Refresh();
}

TDesignerWindow::~TDesignerWindow()
{
    FDesigner.OnChange = nullptr;
    FDesigner.OnFormReplaced = nullptr;
}

RECT TDesignerWindow::ScreenArea()
{
    RECT own{}, form{}, area{};
    GetWindowRect(Handle(), &own);
    GetWindowRect(FDesigner.Form().Handle(), &form);
    UnionRect(&area, &own, &form);
    return area;
}

void TDesignerWindow::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_COMMAND) {
        const bool menu = Message.LParam == 0 && HIWORD(Message.WParam) == 0;
        if ((menu && MenuCommand(LOWORD(Message.WParam))) ||
            FPalette->Command(Message.WParam, Message.LParam) ||
            FInspector->Command(Message.WParam, Message.LParam))
            return;
    } else if (Message.Msg == WM_NOTIFY && FPalette && FPalette->Notify(Message.LParam)) {
        return;
    } else if (Message.Msg == WM_CLOSE && !ConfirmDiscard()) {
        return;
    }
    TForm::WndProc(Message);
}

bool TDesignerWindow::ConfirmDiscard()
{
    return !FDesigner.IsModified() ||
           MessageBoxW(Handle(), L"The form has changes that are not saved. Discard them?",
                       L"zindesign", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool TDesignerWindow::MenuCommand(int Id)
{
    try {
        switch (Id) {
        case cmNew:
            if (ConfirmDiscard())
                FDesigner.NewForm();
            return true;
        case cmOpen: OpenForm(); return true;
        case cmSave: SaveForm(TFormFormat::Binary); return true;
        case cmSaveText: SaveForm(TFormFormat::Text); return true;
        case cmExit: Close(); return true;
        default: return false;
        }
    } catch (const std::exception& error) {
        ReportError(Handle(), error);
        return true;
    }
}

void TDesignerWindow::OpenForm()
{
    if (!ConfirmDiscard())
        return;
    TOpenDialog dialog(nullptr);
    dialog.SetFilter(FormFilter);
    dialog.SetOptions({TOpenOption::ofFileMustExist, TOpenOption::ofHideReadOnly});
    if (dialog.Execute())
        FDesigner.Open(dialog.FileName());
}

void TDesignerWindow::SaveForm(TFormFormat Format)
{
    std::wstring name(MAX_PATH, L'\0');
    std::wstring filter = DialogFilter(FormFilter);
    OPENFILENAMEW request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = Handle();
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = name.data();
    request.nMaxFile = MAX_PATH;
    request.lpstrDefExt = L"dfm";
    request.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetSaveFileNameW(&request))
        return;
    name.resize(name.find(L'\0'));
    FDesigner.Save(name, Format);
}

} // namespace zn::zindesign
