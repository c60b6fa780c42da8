// What a design package tells the designer: the components of each palette page, and which
// property editor edits which properties.
#pragma once

#include "zintara/framework/design_editors.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace zn {

struct TPalettePage {
    std::wstring Name;
    std::vector<const TClassInfo*> Classes;
};

// Appends Classes to the palette page Page (created on first use), in the order given, and
// registers them for form reading. A class already on the page keeps its place.
void RegisterComponents(const std::wstring& Page, std::initializer_list<const TClassInfo*> Classes);
// The pages in the order they were first registered.
const std::vector<TPalettePage>& PalettePages();

using TPropertyEditorClass = std::unique_ptr<TPropertyEditor> (*)(IDesigner& Designer,
                                                                  TDesignerSelection Selection,
                                                                  const TPropertyInfo& Property);

template <class TEditor>
std::unique_ptr<TPropertyEditor> EditorClass(IDesigner& Designer, TDesignerSelection Selection,
                                             const TPropertyInfo& Property)
{
    return std::make_unique<TEditor>(Designer, std::move(Selection), Property);
}

// Registers Editor for the properties of kind PropertyType. With a ComponentClass, only for
// that class and its descendants, and with a PropertyName as well, only for properties of that
// name (a name without a class is ignored, as the class is what scopes it). The most specific
// registration wins: named over unnamed, a nearer class over a farther one, any class over
// none, and a later one over an earlier one of the same rank.
void RegisterPropertyEditor(TTypeKind PropertyType, const TClassInfo* ComponentClass,
                            const std::wstring& PropertyName, TPropertyEditorClass Editor);
// Removes every registration of Editor, as when the package that installed it is unloaded.
void UnRegisterPropertyEditor(TPropertyEditorClass Editor);
// The editor for Property of an object of class ComponentClass: the registered one or the
// default for the property's type.
TPropertyEditorClass GetEditorClass(const TClassInfo& ComponentClass,
                                    const TPropertyInfo& Property);

// The editor the object inspector uses for PropertyName over Selection, or null when the
// property is not one it can show there: an empty selection, an object that does not publish
// it, objects whose editors differ, or several objects and an editor without paMultiSelect.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(IDesigner& Designer,
                                                      const TDesignerSelection& Selection,
                                                      const std::wstring& PropertyName);

} // namespace zn
