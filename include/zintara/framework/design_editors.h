// Property editors: how the designer's object inspector shows and changes one published
// property of the selected components. An editor is created for a selection of one or more
// objects that all publish the property; GetValue reads the first, SetValue writes every one
// and tells the designer once that the form changed.
#pragma once

#include "zintara/framework/object.h"
#include "zintara/framework/properties.h"
#include "zintara/framework/types.h"

#include <functional>
#include <string>
#include <vector>

namespace zn {

// The designer hosting the editors: told each time an editor changes the form.
class IDesigner {
public:
    virtual ~IDesigner() = default;
    virtual void Modified() = 0;
};

enum class TPropertyAttribute {
    paValueList,
    paSubProperties,
    paDialog,
    paMultiSelect,
    paAutoUpdate,
    paSortList,
    paReadOnly,
    paRevertable
};
using TPropertyAttributes = TSet<TPropertyAttribute>;

using TDesignerSelection = std::vector<TPersistent*>;
using TGetStrProc = std::function<void(const std::wstring&)>;

// The base editor is the read-only one a property gets when nothing better fits its type.
class TPropertyEditor : public TObject {
public:
    TPropertyEditor(IDesigner& Designer, TDesignerSelection Selection,
                    const TPropertyInfo& Property);

    virtual TPropertyAttributes GetAttributes();
    virtual std::wstring GetValue();
    virtual void SetValue(const std::wstring& Value);
    // Calls Proc with each value of the drop-down list, for editors with paValueList.
    virtual void GetValues(const TGetStrProc& Proc);
    // Opens the editor's dialog, for editors with paDialog.
    virtual void Edit();

    int PropCount() const { return static_cast<int>(FSelection.size()); }
    TPersistent* GetComponent(int Index) const;
    const TPropertyInfo& Property() const { return FProperty; }
    std::wstring GetName() const { return FProperty.Name; }
    IDesigner& Designer() const { return FDesigner; }
    void Modified();

protected:
    // The property as the class of the Index-th selected object publishes it: two classes may
    // each declare a property of the same name with accessors of their own.
    const TPropertyInfo& PropertyOf(int Index) const;
    std::int64_t GetOrdValue() const;
    void SetOrdValue(std::int64_t Value);
    std::wstring GetStrValue() const;
    void SetStrValue(const std::wstring& Value);

private:
    IDesigner& FDesigner;
    TDesignerSelection FSelection;
    const TPropertyInfo& FProperty;
};

class TStringProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    std::wstring GetValue() override;
    void SetValue(const std::wstring& Value) override;
};

// Integer and Cardinal properties, edited as decimal text within the type's range.
class TIntegerProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    std::wstring GetValue() override;
    void SetValue(const std::wstring& Value) override;
};

// Enumeration and Boolean properties, picked from the list of their value names.
class TEnumProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    std::wstring GetValue() override;
    void SetValue(const std::wstring& Value) override;
    void GetValues(const TGetStrProc& Proc) override;

private:
    std::size_t NameCount() const;
    const wchar_t* NameOf(std::size_t Ordinal) const;
};

} // namespace zn
