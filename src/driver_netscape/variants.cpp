// Script values (see variants.h).
#include "variants.h"

#include <cstring>

namespace zn::netscape {

// The plug-in writes a Boolean's first byte only, not always as 0 or 1, and leaves the rest of
// the value as it was: read as a bool, such a byte would be undefined.
bool VariantToBool(const TNPVariant& Value)
{
    if (Value.type != NPVariantType_Bool)
        return false;
    unsigned char first_byte = 0;
    std::memcpy(&first_byte, &Value.value, 1);
    return first_byte != 0;
}

std::int32_t VariantToInt(const TNPVariant& Value)
{
    return Value.type == NPVariantType_Int32 ? Value.value.intValue : 0;
}

std::string VariantToString(const TNPVariant& Value)
{
    if (Value.type != NPVariantType_String || !Value.value.stringValue.utf8characters)
        return {};
    return std::string(Value.value.stringValue.utf8characters, Value.value.stringValue.utf8length);
}

TNPVariant VoidVariant()
{
    TNPVariant variant{};
    variant.type = NPVariantType_Void;
    return variant;
}

TNPVariant BoolVariant(bool Value)
{
    TNPVariant variant{};
    variant.type = NPVariantType_Bool;
    variant.value.boolValue = Value;
    return variant;
}

TNPVariant IntVariant(std::int32_t Value)
{
    TNPVariant variant{};
    variant.type = NPVariantType_Int32;
    variant.value.intValue = Value;
    return variant;
}

TNPVariant StringVariant(std::string_view Text)
{
    TNPVariant variant{};
    variant.type = NPVariantType_String;
    variant.value.stringValue = {Text.empty() ? "" : Text.data(),
                                 static_cast<std::uint32_t>(Text.size())};
    return variant;
}

TNPVariant ObjectVariant(PNPObject Object)
{
    TNPVariant variant{};
    variant.type = NPVariantType_Object;
    variant.value.objectValue = Object;
    return variant;
}

TNPVariant ArgumentAt(const TNPVariant* Args, std::uint32_t ArgCount, std::uint32_t Index)
{
    return Args && Index < ArgCount ? Args[Index] : VoidVariant();
}

} // namespace zn::netscape
