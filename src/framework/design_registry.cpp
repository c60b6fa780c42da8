// The palette and property-editor registries, process-wide, filled by design packages.
#include "zintara/framework/design_registry.h"

#include "zintara/framework/class_registry.h"
#include "zintara/framework/text.h"

#include <algorithm>

namespace zn {

namespace {

struct TEditorRegistration {
    TTypeKind Kind;
    const TClassInfo* ComponentClass;
    std::wstring PropertyName;
    TPropertyEditorClass Editor;
};

std::vector<TPalettePage>& Pages()
{
    static std::vector<TPalettePage> pages;
    return pages;
}

std::vector<TEditorRegistration>& Editors()
{
    static std::vector<TEditorRegistration> editors;
    return editors;
}

int Depth(const TClassInfo* Class)
{
    int depth = 0;
    for (; Class; Class = Class->Parent)
        ++depth;
    return depth;
}

// How specific a matching registration is; -1 when it does not match.
int Rank(const TEditorRegistration& Entry, const TClassInfo& ComponentClass,
         const TPropertyInfo& Property)
{
    if (Entry.Kind != Property.Kind)
        return -1;
    if (!Entry.ComponentClass)
        return 0;
    if (!ComponentClass.InheritsFrom(*Entry.ComponentClass))
        return -1;
    if (Entry.PropertyName.empty())
        return Depth(Entry.ComponentClass);
    if (!SameText(Entry.PropertyName, Property.Name))
        return -1;
    // Above every unnamed rank, however deep its class.
    return 0x10000 + Depth(Entry.ComponentClass);
}

TPropertyEditorClass DefaultEditor(TTypeKind Kind)
{
    switch (Kind) {
    case TTypeKind::WideString: return &EditorClass<TStringProperty>;
    case TTypeKind::Integer:
    case TTypeKind::Cardinal: return &EditorClass<TIntegerProperty>;
    case TTypeKind::Boolean:
    case TTypeKind::Enumeration: return &EditorClass<TEnumProperty>;
    default: return &EditorClass<TPropertyEditor>;
    }
}

} // namespace

void RegisterComponents(const std::wstring& Page, std::initializer_list<const TClassInfo*> Classes)
{
    auto& pages = Pages();
    auto page = std::find_if(pages.begin(), pages.end(),
                             [&](const TPalettePage& Each) { return SameText(Each.Name, Page); });
    if (page == pages.end())
        page = pages.insert(pages.end(), TPalettePage{Page, {}});
    for (const TClassInfo* each : Classes) {
        RegisterClass(*each);
        if (std::find(page->Classes.begin(), page->Classes.end(), each) == page->Classes.end())
            page->Classes.push_back(each);
    }
}

const std::vector<TPalettePage>& PalettePages()
{
    return Pages();
}

void RegisterPropertyEditor(TTypeKind PropertyType, const TClassInfo* ComponentClass,
                            const std::wstring& PropertyName, TPropertyEditorClass Editor)
{
    Editors().push_back(
        {PropertyType, ComponentClass, ComponentClass ? PropertyName : std::wstring(), Editor});
}

void UnRegisterPropertyEditor(TPropertyEditorClass Editor)
{
    std::erase_if(Editors(),
                  [&](const TEditorRegistration& Each) { return Each.Editor == Editor; });
}

TPropertyEditorClass GetEditorClass(const TClassInfo& ComponentClass, const TPropertyInfo& Property)
{
    TPropertyEditorClass best = DefaultEditor(Property.Kind);
    int best_rank = -1;
    for (const TEditorRegistration& each : Editors()) {
        const int rank = Rank(each, ComponentClass, Property);
        if (rank >= 0 && rank >= best_rank) {
            best = each.Editor;
            best_rank = rank;
        }
    }
    return best;
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(IDesigner& Designer,
                                                      const TDesignerSelection& Selection,
                                                      const std::wstring& PropertyName)
{
    if (Selection.empty())
        return nullptr;
    const TPropertyInfo* first = Selection.front()->ClassType().FindProperty(PropertyName);
    if (!first)
        return nullptr;
    const TPropertyEditorClass editor_class =
        GetEditorClass(Selection.front()->ClassType(), *first);
    for (TPersistent* each : Selection) {
        const TPropertyInfo* info = each->ClassType().FindProperty(PropertyName);
        if (!info || info->Kind != first->Kind ||
            GetEditorClass(each->ClassType(), *info) != editor_class)
            return nullptr;
    }
    auto editor = editor_class(Designer, Selection, *first);
    if (Selection.size() > 1 &&
        !editor->GetAttributes().Contains(TPropertyAttribute::paMultiSelect))
        return nullptr;
    return editor;
}

} // namespace zn
