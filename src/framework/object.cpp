// TObject, TPersistent and the class information they share.
#include "zintara/framework/object.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"
#include "zintara/framework/text.h"

namespace zn {

bool TClassInfo::InheritsFrom(const TClassInfo& Ancestor) const {
    for (const TClassInfo* Class = this; Class; Class = Class->Parent)
        if (Class == &Ancestor) return true;
    return false;
}

const TPropertyInfo* TClassInfo::FindProperty(const std::wstring& PropertyName) const {
    for (const TClassInfo* Class = this; Class; Class = Class->Parent)
        for (std::size_t I = 0; I < Class->PropertyCount; ++I)
            if (SameText(Class->Properties[I].Name, PropertyName)) return &Class->Properties[I];
    return nullptr;
}

const TClassInfo& TObject::ClassInfo() {
    static const TClassInfo Info{L"TObject"};
    return Info;
}

const TClassInfo& TObject::ClassType() const { return ClassInfo(); }

std::wstring TObject::ClassName() const { return ClassType().Name; }

const TClassInfo& TPersistent::ClassInfo() {
    static const TClassInfo Info = DeclareClass<TPersistent, TObject>(L"TPersistent");
    return Info;
}

const TClassInfo& TPersistent::ClassType() const { return ClassInfo(); }

namespace {

[[noreturn]] void AssignError(const TPersistent* Source, const TPersistent& Dest) {
    std::wstring SourceName = Source ? Source->ClassName() : L"nil";
    throw EConvertError(L"Cannot assign a " + SourceName + L" to a " + Dest.ClassName());
}

} // namespace

void TPersistent::Assign(const TPersistent* Source) {
    if (!Source) AssignError(nullptr, *this);
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) const {
    if (!Dest) throw EConvertError(L"Cannot assign a " + ClassName() + L" to a nil");
    AssignError(this, *Dest);
}

void TPersistent::DefineProperties(TFiler&) {}

} // namespace zn
