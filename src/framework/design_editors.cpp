// The editors the designer uses for a property's type when none is registered for it.
#include "zintara/framework/design_editors.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/text.h"

#include <cerrno>
#include <cstdint>
#include <cwchar>
#include <limits>
#include <utility>

namespace zn {

using enum TPropertyAttribute;

TPropertyEditor::TPropertyEditor(IDesigner& Designer, TDesignerSelection Selection,
                                 const TPropertyInfo& Property)
    : FDesigner(Designer), FSelection(std::move(Selection)), FProperty(Property)
{
    if (FSelection.empty())
        throw EPropertyError(L"A property editor needs at least one selected object");
}

TPropertyAttributes TPropertyEditor::GetAttributes()
{
    return {paReadOnly};
}

std::wstring TPropertyEditor::GetValue()
{
    if (FProperty.Kind == TTypeKind::Class)
        if (TPersistent* object = PropertyOf(0).GetObject(*GetComponent(0)))
            return L"(" + object->ClassName() + L")";
    return L"";
}

// Read-only: the designer offers no way to change the value, and text typed anyway is dropped.
void TPropertyEditor::SetValue(const std::wstring&) {}

void TPropertyEditor::GetValues(const TGetStrProc&) {}

void TPropertyEditor::Edit() {}

TPersistent* TPropertyEditor::GetComponent(int Index) const
{
    if (Index < 0 || Index >= PropCount())
        throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
    return FSelection[static_cast<std::size_t>(Index)];
}

void TPropertyEditor::Modified()
{
    FDesigner.Modified();
}

const TPropertyInfo& TPropertyEditor::PropertyOf(int Index) const
{
    const TPropertyInfo* info = GetComponent(Index)->ClassType().FindProperty(FProperty.Name);
    if (!info)
        throw EPropertyError(L"Property " + GetName() + L" does not exist");
    return *info;
}

std::int64_t TPropertyEditor::GetOrdValue() const
{
    return PropertyOf(0).GetOrdinal(*GetComponent(0));
}

void TPropertyEditor::SetOrdValue(std::int64_t Value)
{
    for (int i = 0; i < PropCount(); ++i)
        PropertyOf(i).SetOrdinal(*GetComponent(i), Value);
    Modified();
}

std::wstring TPropertyEditor::GetStrValue() const
{
    return PropertyOf(0).GetString(*GetComponent(0));
}

void TPropertyEditor::SetStrValue(const std::wstring& Value)
{
    for (int i = 0; i < PropCount(); ++i)
        PropertyOf(i).SetString(*GetComponent(i), Value);
    Modified();
}

TPropertyAttributes TStringProperty::GetAttributes()
{
    return {paMultiSelect, paRevertable};
}

std::wstring TStringProperty::GetValue()
{
    return GetStrValue();
}

void TStringProperty::SetValue(const std::wstring& Value)
{
    SetStrValue(Value);
}

TPropertyAttributes TIntegerProperty::GetAttributes()
{
    return {paMultiSelect, paRevertable};
}

std::wstring TIntegerProperty::GetValue()
{
    return std::to_wstring(GetOrdValue());
}

void TIntegerProperty::SetValue(const std::wstring& Value)
{
    const bool is_cardinal = Property().Kind == TTypeKind::Cardinal;
    const std::int64_t low = is_cardinal ? 0 : std::numeric_limits<std::int32_t>::min();
    const std::int64_t high = is_cardinal ? std::numeric_limits<std::uint32_t>::max()
                                          : std::numeric_limits<std::int32_t>::max();
    const std::wstring& text = Value;
    wchar_t* end = nullptr;
    errno = 0;
    const long long number = text.empty() ? 0 : std::wcstoll(text.c_str(), &end, 10);
    if (text.empty() || *end != L'\0' || errno == ERANGE || number < low || number > high)
        throw EConvertError(L"'" + Value + L"' is not a valid value for " + GetName());
    SetOrdValue(number);
}

TPropertyAttributes TEnumProperty::GetAttributes()
{
    return {paMultiSelect, paValueList, paSortList, paRevertable};
}

std::wstring TEnumProperty::GetValue()
{
    const std::int64_t ordinal = GetOrdValue();
    if (ordinal < 0 || static_cast<std::uint64_t>(ordinal) >= NameCount())
        return std::to_wstring(ordinal);
    return NameOf(static_cast<std::size_t>(ordinal));
}

void TEnumProperty::SetValue(const std::wstring& Value)
{
    for (std::size_t i = 0; i < NameCount(); ++i)
        if (SameText(NameOf(i), Value)) {
            SetOrdValue(static_cast<std::int64_t>(i));
            return;
        }
    throw EPropertyError(L"Invalid property value");
}

void TEnumProperty::GetValues(const TGetStrProc& Proc)
{
    for (std::size_t i = 0; i < NameCount(); ++i)
        Proc(NameOf(i));
}

namespace {
const wchar_t* const BooleanNames[] = {L"False", L"True"};
}

std::size_t TEnumProperty::NameCount() const
{
    return Property().Kind == TTypeKind::Boolean ? 2 : Property().ValueCount;
}

const wchar_t* TEnumProperty::NameOf(std::size_t Ordinal) const
{
    return Property().Kind == TTypeKind::Boolean ? BooleanNames[Ordinal]
                                                 : Property().ValueNames[Ordinal];
}

} // namespace zn
