// TObject, TPersistent and the class information they share.
#include "zintara/framework/object.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"
#include "zintara/framework/text.h"

namespace zn {

bool TClassInfo::InheritsFrom(const TClassInfo& Ancestor) const
{
    for (const TClassInfo* class_info = this; class_info; class_info = class_info->Parent)
        if (class_info == &Ancestor)
            return true;
    return false;
}

const TPropertyInfo* TClassInfo::FindProperty(const std::wstring& PropertyName) const
{
    for (const TClassInfo* class_info = this; class_info; class_info = class_info->Parent)
        for (std::size_t i = 0; i < class_info->PropertyCount; ++i)
            if (SameText(class_info->Properties[i].Name, PropertyName))
                return &class_info->Properties[i];
    return nullptr;
}

const TClassInfo& TObject::ClassInfo()
{
    static const TClassInfo info{L"TObject"};
    return info;
}

const TClassInfo& TObject::ClassType() const
{
    return ClassInfo();
}

std::wstring TObject::ClassName() const
{
    return ClassType().Name;
}

const TClassInfo& TPersistent::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TPersistent, TObject>(L"TPersistent");
    return info;
}

const TClassInfo& TPersistent::ClassType() const
{
    return ClassInfo();
}

namespace {

[[noreturn]] void AssignError(const TPersistent* Source, const TPersistent& Dest)
{
    std::wstring source_name = Source ? Source->ClassName() : L"nil";
    throw EConvertError(L"Cannot assign a " + source_name + L" to a " + Dest.ClassName());
}

} // namespace

void TPersistent::Assign(const TPersistent* Source)
{
    if (!Source)
        AssignError(nullptr, *this);
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) const
{
    if (!Dest)
        throw EConvertError(L"Cannot assign a " + ClassName() + L" to a nil");
    AssignError(this, *Dest);
}

void TPersistent::DefineProperties(TFiler&) {}

} // namespace zn
