// The object inspector: the selection's properties as "name, value" lines of a list box, and
// under it the editing line of the chosen property: a drop-down of the editor's values for a
// value list, a "..." button that calls the editor's Edit (or lists a collection's items), and
// plain text otherwise. A value is stored when Enter is pressed, the field loses the focus or a
// value is picked from the list. Errors raised by an editor are shown in a message box.
#pragma once

#include "form_designer.h"

#include <windows.h>

#include <vector>

namespace zn::zindesign {

class TInspectorView {
public:
    TInspectorView(TFormDesigner& Designer, HWND Parent, int X, int Y, int Width, int Height);
    TInspectorView(const TInspectorView&) = delete;
    TInspectorView& operator=(const TInspectorView&) = delete;

    // Rebuilds the lines from the designer's selection, keeping the chosen property.
    void Refresh();
    // Chooses the line of the property Name; false when the selection shows none.
    bool ChooseProperty(const std::wstring& Name);
    // What the editing line's controls do when used; the script drives the inspector by them.
    HWND ValueEdit() const { return FEdit; }
    HWND ValueList() const { return FCombo; }
    HWND DialogButton() const { return FButton; }
    // The "..." of a collection: Index selects an item, -1 adds one and selects it.
    void PickCollectionItem(int Index);

    bool Command(WPARAM WParam, LPARAM LParam);

private:
    void ShowEditingLine();
    void StoreText(HWND Field);
    void RunDialog();
    TInspectorRow* Chosen();
    // Runs Action, reporting a failure in a message box; the views are refreshed either way.
    template <class F>
    void Guarded(F&& Action);
    static LRESULT CALLBACK FieldProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

    TFormDesigner& FDesigner;
    HWND FParent;
    HWND FList, FName, FEdit, FCombo, FButton;
    WNDPROC FEditProc = nullptr, FComboEditProc = nullptr;
    std::vector<TInspectorRow> FRows;
    std::wstring FChosenName;
    bool FRefreshing = false;
};

} // namespace zn::zindesign
