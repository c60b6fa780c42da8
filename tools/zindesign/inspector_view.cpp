// The object inspector's windows.
#include "inspector_view.h"

#include "error_report.h"

#include "zintara/framework/collection.h"

#include <algorithm>

namespace zn::zindesign {

namespace {

using enum TPropertyAttribute;

constexpr int ListId = 1200, EditId = 1201, ComboId = 1202, ButtonId = 1203;
constexpr int AddItemCommand = 1, FirstItemCommand = 2;
constexpr int LineHeight = 24, ButtonWidth = 28;

HWND Child(const wchar_t* Class, DWORD Style, int X, int Y, int Width, int Height, HWND Parent,
           int Id)
{
    return CreateWindowExW(0, Class, L"", WS_CHILD | Style, X, Y, Width, Height, Parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), nullptr, nullptr);
}

std::wstring WindowText(HWND Window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(Window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

TInspectorView::TInspectorView(TFormDesigner& Designer, HWND Parent, int X, int Y, int Width,
                               int Height)
    : FDesigner(Designer), FParent(Parent)
{
    const int list_height = Height - 2 * LineHeight - 8;
    FList = Child(L"LISTBOX", WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_USETABSTOPS, X,
                  Y, Width, list_height, Parent, ListId);
    const int tab_stop = 70;
    SendMessageW(FList, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tab_stop));
    const int line_y = Y + list_height + 4;
    FName = Child(L"STATIC", WS_VISIBLE, X, line_y, Width, LineHeight, Parent, 0);
    const int field_y = line_y + LineHeight;
    FEdit = Child(L"EDIT", WS_BORDER | ES_AUTOHSCROLL, X, field_y, Width - ButtonWidth, LineHeight,
                  Parent, EditId);
    FCombo = Child(L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, X, field_y,
                   Width - ButtonWidth, 200, Parent, ComboId);
    FButton = Child(L"BUTTON", BS_PUSHBUTTON, X + Width - ButtonWidth, field_y, ButtonWidth,
                    LineHeight, Parent, ButtonId);
    SetWindowTextW(FButton, L"...");
    // Enter stores the text: the fields are not in a dialog, so they are told by subclassing.
    SetPropW(FEdit, L"ZnInspector", this);
    FEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(FEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FieldProc)));
    HWND combo_edit = GetWindow(FCombo, GW_CHILD);
    SetPropW(combo_edit, L"ZnInspector", this);
    FComboEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(combo_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FieldProc)));
}

LRESULT CALLBACK TInspectorView::FieldProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    auto* view = static_cast<TInspectorView*>(GetPropW(Window, L"ZnInspector"));
    const bool in_combo = GetParent(Window) == view->FCombo;
    if ((Msg == WM_KEYDOWN || Msg == WM_CHAR) && WParam == VK_RETURN) {
        if (Msg == WM_KEYDOWN)
            view->StoreText(in_combo ? view->FCombo : view->FEdit);
        return 0;
    }
    return CallWindowProcW(in_combo ? view->FComboEditProc : view->FEditProc, Window, Msg, WParam,
                           LParam);
}

// The rows own the editors: while one runs, the designer's change notices must not rebuild
// them under it, so the refresh waits until the editor has returned.
template <class F>
void TInspectorView::Guarded(F&& Action)
{
    FRefreshing = true;
    try {
        Action();
    } catch (const std::exception& error) {
        ReportError(FParent, error);
    }
    FRefreshing = false;
    Refresh();
}

void TInspectorView::Refresh()
{
    if (FRefreshing)
        return;
    FRefreshing = true;
    FRows.clear();
    try {
        FRows = FDesigner.InspectorRows();
    } catch (const std::exception& error) {
        FRows.clear();
        ReportError(FParent, error);
    }
    SendMessageW(FList, WM_SETREDRAW, FALSE, 0);
    SendMessageW(FList, LB_RESETCONTENT, 0, 0);
    int chosen = -1;
    for (std::size_t i = 0; i < FRows.size(); ++i) {
        const std::wstring line = FRows[i].Name + L"\t" + FRows[i].Value;
        SendMessageW(FList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (FRows[i].Name == FChosenName)
            chosen = static_cast<int>(i);
    }
    SendMessageW(FList, LB_SETCURSEL, chosen, 0);
    SendMessageW(FList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(FList, nullptr, TRUE);
    if (chosen < 0)
        FChosenName.clear();
    ShowEditingLine();
    FRefreshing = false;
}

TInspectorRow* TInspectorView::Chosen()
{
    auto found = std::find_if(FRows.begin(), FRows.end(),
                              [&](const TInspectorRow& Row) { return Row.Name == FChosenName; });
    return found != FRows.end() ? &*found : nullptr;
}

bool TInspectorView::ChooseProperty(const std::wstring& Name)
{
    FChosenName = Name;
    Refresh();
    return Chosen() != nullptr;
}

void TInspectorView::ShowEditingLine()
{
    TInspectorRow* row = Chosen();
    const bool value_list = row && row->Attributes.Contains(paValueList);
    const bool dialog = row && (row->Attributes.Contains(paDialog) || row->Collection);
    SetWindowTextW(FName, row ? row->Name.c_str() : L"");
    ShowWindow(FEdit, row && !value_list ? SW_SHOW : SW_HIDE);
    ShowWindow(FCombo, value_list ? SW_SHOW : SW_HIDE);
    ShowWindow(FButton, dialog ? SW_SHOW : SW_HIDE);
    if (!row)
        return;
    if (value_list) {
        SendMessageW(FCombo, CB_RESETCONTENT, 0, 0);
        std::vector<std::wstring> values;
        row->Editor->GetValues([&](const std::wstring& Value) { values.push_back(Value); });
        if (row->Attributes.Contains(paSortList))
            std::sort(values.begin(), values.end());
        for (const std::wstring& value : values)
            SendMessageW(FCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(value.c_str()));
        SetWindowTextW(FCombo, row->Value.c_str());
    } else {
        SetWindowTextW(FEdit, row->Value.c_str());
        SendMessageW(FEdit, EM_SETREADONLY,
                     row->Attributes.Contains(paReadOnly) || row->Collection ? TRUE : FALSE, 0);
    }
}

void TInspectorView::StoreText(HWND Field)
{
    TInspectorRow* row = Chosen();
    if (!row || row->Attributes.Contains(paReadOnly) || row->Collection)
        return;
    const std::wstring text = WindowText(Field);
    if (text == row->Value)
        return;
    Guarded([&] { row->Editor->SetValue(text); });
}

void TInspectorView::RunDialog()
{
    TInspectorRow* row = Chosen();
    if (!row)
        return;
    if (!row->Collection) {
        Guarded([&] { row->Editor->Edit(); });
        return;
    }
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < row->Collection->Count(); ++i) {
        const std::wstring text =
            std::to_wstring(i) + L" - " + row->Collection->Items(i)->GetDisplayName();
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(FirstItemCommand + i), text.c_str());
    }
    AppendMenuW(menu, MF_STRING, AddItemCommand, L"Add an item");
    RECT button{};
    GetWindowRect(FButton, &button);
    const int command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTALIGN, button.right,
                                       button.bottom, 0, FParent, nullptr);
    DestroyMenu(menu);
    if (command == AddItemCommand)
        PickCollectionItem(-1);
    else if (command >= FirstItemCommand)
        PickCollectionItem(command - FirstItemCommand);
}

void TInspectorView::PickCollectionItem(int Index)
{
    TInspectorRow* row = Chosen();
    if (!row || !row->Collection)
        return;
    TCollection* collection = row->Collection;
    Guarded([&] {
        if (Index < 0)
            FDesigner.AddItem(*collection);
        else
            FDesigner.SelectOnly(collection->Items(Index));
    });
}

bool TInspectorView::Command(WPARAM WParam, LPARAM)
{
    const int id = LOWORD(WParam), code = HIWORD(WParam);
    if (id == ListId && code == LBN_SELCHANGE) {
        const LRESULT index = SendMessageW(FList, LB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<std::size_t>(index) < FRows.size()) {
            FChosenName = FRows[static_cast<std::size_t>(index)].Name;
            ShowEditingLine();
        }
    } else if (id == EditId && code == EN_KILLFOCUS) {
        StoreText(FEdit);
    } else if (id == ComboId && code == CBN_SELCHANGE) {
        const LRESULT index = SendMessageW(FCombo, CB_GETCURSEL, 0, 0);
        if (index >= 0) {
            std::wstring value(
                static_cast<std::size_t>(SendMessageW(FCombo, CB_GETLBTEXTLEN, index, 0)) + 1,
                L'\0');
            value.resize(static_cast<std::size_t>(
                SendMessageW(FCombo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(value.data()))));
            SetWindowTextW(FCombo, value.c_str());
            StoreText(FCombo);
        }
    } else if (id == ComboId && code == CBN_KILLFOCUS) {
        StoreText(FCombo);
    } else if (id == ButtonId && code == BN_CLICKED) {
        RunDialog();
    } else {
        return false;
    }
    return true;
}

} // namespace zn::zindesign
