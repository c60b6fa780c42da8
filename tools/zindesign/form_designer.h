// The designer's model of one form, without a window of its own: the form being designed (in
// design state, with everything on it), the palette choice, the selection, presses of the mouse
// turned into drops, selections, moves and sizes, the rows of the object inspector, and the
// form files it opens and saves. The Win32 shell shows it and feeds it the mouse.
#pragma once

#include "grab_handles.h"

#include "zintara/framework/design_editors.h"
#include "zintara/framework/form_io.h"
#include "zintara/framework/forms.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zn::zindesign {

// Non-visual components are shown as icons of this size on the form.
inline constexpr int IconExtent = 28;

// One line of the object inspector: a published property of every selected object, with the
// editor that shows and changes it.
struct TInspectorRow {
    std::wstring Name;
    std::wstring Value;
    TPropertyAttributes Attributes;
    std::unique_ptr<TPropertyEditor> Editor;
    // The collection a class property holds, whose items the inspector can select.
    TCollection* Collection = nullptr;
};

// A control aligned to the whole client area is shown and hit under every other control of the
// form, which it would hide otherwise.
bool LiesUnderTheOthers(const TControl& Control);

class TFormDesigner : public IDesigner {
public:
    // Starts with a new, empty form.
    TFormDesigner();
    ~TFormDesigner() override;

    TForm& Form() const { return *FForm; }
    void NewForm();
    // Reads FileName (binary or text) into a new form in design state; on failure the current
    // form stays and the error propagates.
    void Open(const std::wstring& FileName);
    void Save(const std::wstring& FileName, TFormFormat Format);
    bool IsModified() const { return FUnsaved; }

    // The class the next press on the form drops; null to select instead.
    const TClassInfo* PaletteChoice() const { return FPaletteChoice; }
    void SetPaletteChoice(const TClassInfo* Class) { FPaletteChoice = Class; }

    // The mouse on the form, in its client coordinates; Shift adds to or removes from the
    // selection instead of replacing it.
    void MouseDown(TPoint Point, bool Shift);
    void MouseMove(TPoint Point);
    void MouseUp(TPoint Point);
    bool Dragging() const { return FGrab != TGrabPosition::gpNone; }

    // Makes a component of Class on the form at Point, named after its class, and selects it.
    TComponent* DropComponent(const TClassInfo& Class, TPoint Point);
    // The component drawn topmost at Point, null for the form itself.
    TComponent* ComponentAt(TPoint Point) const;
    // Where a component lies on the form: a control's bounds, a non-visual component's icon.
    TRect DesignBounds(TComponent& Component) const;
    std::vector<TComponent*> NonVisualComponents() const;

    const TDesignerSelection& Selection() const { return FSelection; }
    void SelectOnly(TPersistent* Object);
    // Adds Object to the selection, or removes it when it is there already.
    void ToggleSelection(TPersistent* Object);
    bool IsSelected(const TPersistent* Object) const;
    // Appends an item to Collection and selects it, as the inspector's collection list does.
    TCollectionItem* AddItem(TCollection& Collection);
    // Frees the selected components and collection items (never the form) and selects the form.
    void DeleteSelection();

    // The published properties every selected object has and an editor accepts for the whole
    // selection, by name.
    std::vector<TInspectorRow> InspectorRows();

    void Modified() override;
    // Called after anything the views show has changed: the form, the selection, a bound.
    std::function<void()> OnChange;
    // Called after the form was replaced by NewForm or Open.
    std::function<void()> OnFormReplaced;

private:
    void ReplaceForm(std::unique_ptr<TForm> NewForm);
    void PlaceIcons();
    void SetDesignBounds(TComponent& Component, const TRect& Bounds);
    std::wstring UniqueName(const TClassInfo& Class) const;
    void Changed();

    std::unique_ptr<TForm> FForm;
    const TClassInfo* FPaletteChoice = nullptr;
    TDesignerSelection FSelection;
    std::map<TComponent*, TPoint> FIconPositions;
    bool FUnsaved = false;

    // The drag under way: what was grabbed, where the press was and the bounds it started
    // from, for every component it moves.
    TGrabPosition FGrab = TGrabPosition::gpNone;
    TPoint FPress;
    std::vector<std::pair<TComponent*, TRect>> FDragStart;
    bool FMoved = false;
};

} // namespace zn::zindesign
