// What the writer and reader ask of a property description.
#include "zintara/framework/properties.h"

#include "zintara/framework/text.h"

namespace zn {

bool TPropertyInfo::IsDefault(const TPersistent& Instance) const {
    switch (Kind) {
    case TTypeKind::WideString: return HasDefault && GetString(Instance) == StringDefault;
    case TTypeKind::Class:
    case TTypeKind::Method: return false;
    case TTypeKind::Component: return GetComponent(Instance) == nullptr;
    default: return HasDefault && GetOrdinal(Instance) == OrdinalDefault;
    }
}

int TPropertyInfo::ValueIndex(const std::wstring& ValueName) const {
    for (std::size_t I = 0; I < ValueCount; ++I)
        if (SameText(ValueNames[I], ValueName)) return static_cast<int>(I);
    return -1;
}

} // namespace zn
