// Script values as this host builds and reads them: void, Boolean, 32-bit integer, string and
// object. A value of any other type reads as false, 0 or the empty string; a double is not
// converted. Strings are 8-bit text in the system code page.
#pragma once

#include "zintara/zn_driver_netscape.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zn::netscape {

bool VariantToBool(const TNPVariant& Value);
std::int32_t VariantToInt(const TNPVariant& Value);
// A string whose characters pointer is null reads as empty, whatever its length claims.
std::string VariantToString(const TNPVariant& Value);

TNPVariant VoidVariant();
TNPVariant BoolVariant(bool Value);
TNPVariant IntVariant(std::int32_t Value);
// Refers to Text, which must outlive the variant.
TNPVariant StringVariant(std::string_view Text);
TNPVariant ObjectVariant(PNPObject Object);

// The argument at Index, or a void value past the end or when Args is null.
TNPVariant ArgumentAt(const TNPVariant* Args, std::uint32_t ArgCount, std::uint32_t Index);

} // namespace zn::netscape
