// What the writer and reader ask of a property description.
#include "zintara/framework/properties.h"

#include "zintara/framework/text.h"

namespace zn {

bool TPropertyInfo::IsDefault(const TPersistent& Instance) const
{
    switch (Kind) {
    case TTypeKind::WideString: return HasDefault && GetString(Instance) == StringDefault;
    case TTypeKind::Class:
    case TTypeKind::Method: return false;
    case TTypeKind::Component: return GetComponent(Instance) == nullptr;
    default: return HasDefault && GetOrdinal(Instance) == OrdinalDefault;
    }
}

int TPropertyInfo::ValueIndex(const std::wstring& ValueName) const
{
    for (std::size_t i = 0; i < ValueCount; ++i)
        if (SameText(ValueNames[i], ValueName))
            return static_cast<int>(i);
    return -1;
}

} // namespace zn
