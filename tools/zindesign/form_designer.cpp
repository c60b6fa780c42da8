// The designer's model: the form, the selection, the mouse, the inspector's rows, form files.
#include "form_designer.h"

#include "zintara/framework/collection.h"
#include "zintara/framework/design_registry.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"
#include "zintara/framework/text.h"

#include <algorithm>

namespace zn::zindesign {

namespace {

constexpr int NewFormWidth = 560, NewFormHeight = 420;
// Icons of non-visual components read from a file are laid out in a row from here.
constexpr int IconMargin = 8, IconSpacing = IconExtent + 8;

std::unique_ptr<TForm> DesignedForm()
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetDesigning(true);
    return form;
}

// Every published property name of Class and its ancestors, events left out, sorted.
std::vector<std::wstring> PropertyNames(const TClassInfo& Class)
{
    std::vector<std::wstring> names;
    for (const TClassInfo* info = &Class; info; info = info->Parent)
        for (std::size_t i = 0; i < info->PropertyCount; ++i) {
            const TPropertyInfo& property = info->Properties[i];
            if (property.Kind == TTypeKind::Method)
                continue;
            if (std::none_of(names.begin(), names.end(), [&](const std::wstring& Name) {
                    return SameText(Name, property.Name);
                }))
                names.push_back(property.Name);
        }
    // Identifiers: comparing the ASCII letters without case is enough.
    const auto lower = [](wchar_t C) { return C >= L'A' && C <= L'Z' ? C + (L'a' - L'A') : C; };
    std::sort(names.begin(), names.end(), [&](const std::wstring& A, const std::wstring& B) {
        return std::lexicographical_compare(
            A.begin(), A.end(), B.begin(), B.end(),
            [&](wchar_t X, wchar_t Y) { return lower(X) < lower(Y); });
    });
    return names;
}

// The forms header brings windows.h, whose GetObject macro would rename the accessor.
#pragma push_macro("GetObject")
#undef GetObject
TCollection* CollectionOf(const TPropertyInfo& Property, const TPersistent& Object)
{
    return dynamic_cast<TCollection*>(Property.GetObject(Object));
}
#pragma pop_macro("GetObject")

} // namespace

TFormDesigner::TFormDesigner()
{
    NewForm();
}

TFormDesigner::~TFormDesigner() = default;

void TFormDesigner::NewForm()
{
    std::unique_ptr<TForm> form = DesignedForm();
    form->SetName(L"Form1");
    form->SetCaption(L"Form1");
    form->SetBounds(0, 0, NewFormWidth, NewFormHeight);
    ReplaceForm(std::move(form));
}

void TFormDesigner::Open(const std::wstring& FileName)
{
    std::unique_ptr<TForm> form = DesignedForm();
    ReadComponentFromFile(FileName, form.get());
    ReplaceForm(std::move(form));
}

void TFormDesigner::Save(const std::wstring& FileName, TFormFormat Format)
{
    WriteComponentToFile(FileName, *FForm, Format);
    FUnsaved = false;
}

void TFormDesigner::ReplaceForm(std::unique_ptr<TForm> NewForm)
{
    FSelection.clear();
    FIconPositions.clear();
    FGrab = TGrabPosition::gpNone;
    FDragStart.clear();
    FForm = std::move(NewForm);
    FUnsaved = false;
    PlaceIcons();
    FSelection.push_back(FForm.get());
    if (OnFormReplaced)
        OnFormReplaced();
    Changed();
}

// A form file keeps no place for non-visual components: they are laid out in a row.
void TFormDesigner::PlaceIcons()
{
    int x = IconMargin;
    for (TComponent* component : NonVisualComponents()) {
        FIconPositions[component] = TPoint{x, IconMargin};
        x += IconSpacing;
    }
}

std::vector<TComponent*> TFormDesigner::NonVisualComponents() const
{
    std::vector<TComponent*> components;
    for (int i = 0; i < FForm->ComponentCount(); ++i)
        if (!dynamic_cast<TControl*>(FForm->Components(i)))
            components.push_back(FForm->Components(i));
    return components;
}

std::wstring TFormDesigner::UniqueName(const TClassInfo& Class) const
{
    std::wstring base = Class.Name;
    if (base.size() > 1 && (base[0] == L'T' || base[0] == L't'))
        base.erase(0, 1);
    for (int number = 1;; ++number) {
        std::wstring name = base + std::to_wstring(number);
        if (!FForm->FindComponent(name))
            return name;
    }
}

TComponent* TFormDesigner::DropComponent(const TClassInfo& Class, TPoint Point)
{
    if (!Class.CreateComponent)
        throw EComponentError(L"Cannot create a component of class " + std::wstring(Class.Name));
    std::unique_ptr<TComponent> component(Class.CreateComponent(FForm.get()));
    component->SetName(UniqueName(Class));
    if (auto* control = dynamic_cast<TControl*>(component.get())) {
        control->SetBounds(Point.X, Point.Y, control->Width(), control->Height());
        control->SetParent(FForm.get());
    } else {
        FIconPositions[component.get()] = Point;
    }
    TComponent* dropped = component.release();
    SelectOnly(dropped);
    Modified();
    return dropped;
}

TRect TFormDesigner::DesignBounds(TComponent& Component) const
{
    if (auto* control = dynamic_cast<TControl*>(&Component))
        return control->BoundsRect();
    auto found = FIconPositions.find(&Component);
    const TPoint at = found != FIconPositions.end() ? found->second : TPoint{};
    return Bounds(at.X, at.Y, IconExtent, IconExtent);
}

void TFormDesigner::SetDesignBounds(TComponent& Component, const TRect& Bounds)
{
    if (auto* control = dynamic_cast<TControl*>(&Component))
        control->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    else
        FIconPositions[&Component] = TPoint{Bounds.Left, Bounds.Top};
}

bool LiesUnderTheOthers(const TControl& Control)
{
    return Control.Align() == alClient;
}

// Icons lie over the controls, windows over graphic controls, and a control filling the whole
// form under all of them (it would hide them otherwise); the later of two alike lies over the
// earlier.
TComponent* TFormDesigner::ComponentAt(TPoint Point) const
{
    const std::vector<TComponent*> icons = NonVisualComponents();
    for (auto icon = icons.rbegin(); icon != icons.rend(); ++icon)
        if (Contains(DesignBounds(**icon), Point))
            return *icon;
    for (bool filling : {false, true})
        for (bool windowed : {true, false})
            for (int i = FForm->ControlCount() - 1; i >= 0; --i) {
                TControl* control = FForm->Controls(i);
                if (LiesUnderTheOthers(*control) == filling &&
                    (dynamic_cast<TWinControl*>(control) != nullptr) == windowed &&
                    Contains(control->BoundsRect(), Point))
                    return control;
            }
    return nullptr;
}

void TFormDesigner::SelectOnly(TPersistent* Object)
{
    FSelection.assign(1, Object ? Object : FForm.get());
    Changed();
}

void TFormDesigner::ToggleSelection(TPersistent* Object)
{
    auto found = std::find(FSelection.begin(), FSelection.end(), Object);
    if (found != FSelection.end()) {
        FSelection.erase(found);
        if (FSelection.empty())
            FSelection.push_back(FForm.get());
    } else {
        // The form and what lies on it are never selected together.
        std::erase(FSelection, static_cast<TPersistent*>(FForm.get()));
        FSelection.push_back(Object);
    }
    Changed();
}

bool TFormDesigner::IsSelected(const TPersistent* Object) const
{
    return std::find(FSelection.begin(), FSelection.end(), Object) != FSelection.end();
}

TCollectionItem* TFormDesigner::AddItem(TCollection& Collection)
{
    TCollectionItem* item = Collection.Add();
    Modified();
    SelectOnly(item);
    return item;
}

void TFormDesigner::DeleteSelection()
{
    TDesignerSelection doomed;
    std::swap(doomed, FSelection);
    FSelection.push_back(FForm.get());
    // Items first: a list selected with its own items frees them itself.
    std::vector<TComponent*> components;
    bool deleted = false;
    for (TPersistent* object : doomed)
        if (auto* item = dynamic_cast<TCollectionItem*>(object)) {
            delete item;
            deleted = true;
        } else if (auto* component = dynamic_cast<TComponent*>(object);
                   component && component != FForm.get()) {
            components.push_back(component);
        }
    for (TComponent* component : components) {
        FIconPositions.erase(component);
        delete component;
        deleted = true;
    }
    if (deleted)
        Modified();
    else
        Changed();
}

void TFormDesigner::MouseDown(TPoint Point, bool Shift)
{
    FGrab = TGrabPosition::gpNone;
    FDragStart.clear();
    FMoved = false;
    FPress = Point;
    if (FPaletteChoice) {
        const TClassInfo* dropped = FPaletteChoice;
        FPaletteChoice = nullptr;
        DropComponent(*dropped, Point);
        return;
    }
    // A single selected control is sized by its handles.
    if (FSelection.size() == 1)
        if (auto* control = dynamic_cast<TControl*>(FSelection.front())) {
            const TGrabPosition grab = HandleAt(control->BoundsRect(), Point);
            if (grab != TGrabPosition::gpNone && grab != TGrabPosition::gpBody) {
                FGrab = grab;
                FDragStart.emplace_back(control, control->BoundsRect());
                return;
            }
        }
    TComponent* hit = ComponentAt(Point);
    if (Shift) {
        if (hit)
            ToggleSelection(hit);
        return;
    }
    if (!hit) {
        SelectOnly(FForm.get());
        return;
    }
    if (!IsSelected(hit))
        SelectOnly(hit);
    FGrab = TGrabPosition::gpBody;
    for (TPersistent* selected : FSelection)
        if (auto* component = dynamic_cast<TComponent*>(selected); component && component->Owner())
            FDragStart.emplace_back(component, DesignBounds(*component));
}

void TFormDesigner::MouseMove(TPoint Point)
{
    if (!Dragging() || (Point == FPress && !FMoved))
        return;
    for (const auto& [component, start] : FDragStart)
        SetDesignBounds(*component,
                        DragBounds(start, FGrab, Point.X - FPress.X, Point.Y - FPress.Y));
    FMoved = true;
    Changed();
}

void TFormDesigner::MouseUp(TPoint Point)
{
    MouseMove(Point);
    const bool moved = FMoved;
    FGrab = TGrabPosition::gpNone;
    FDragStart.clear();
    FMoved = false;
    if (moved)
        Modified();
}

std::vector<TInspectorRow> TFormDesigner::InspectorRows()
{
    std::vector<TInspectorRow> rows;
    if (FSelection.empty())
        return rows;
    for (const std::wstring& name : PropertyNames(FSelection.front()->ClassType())) {
        // A name is unique on its form: giving one to several components would rename the first
        // and then fail halfway through the rest.
        if (FSelection.size() > 1 && SameText(name, L"Name"))
            continue;
        std::unique_ptr<TPropertyEditor> editor = CreatePropertyEditor(*this, FSelection, name);
        if (!editor)
            continue;
        TInspectorRow row;
        row.Name = name;
        row.Attributes = editor->GetAttributes();
        row.Value = editor->GetValue();
        const TPropertyInfo& property = editor->Property();
        if (property.Kind == TTypeKind::Class && FSelection.size() == 1)
            row.Collection = CollectionOf(property, *FSelection.front());
        row.Editor = std::move(editor);
        rows.push_back(std::move(row));
    }
    return rows;
}

void TFormDesigner::Modified()
{
    FUnsaved = true;
    Changed();
}

void TFormDesigner::Changed()
{
    if (OnChange)
        OnChange();
}

} // namespace zn::zindesign
