// NPAPI variants in the call log's text form.
#include "log_text.h"

#include "npapi.h"

#include <charconv>

namespace zn::np {

namespace {

// Doubles always show a point or an exponent, so they never read as integers.
std::string DoubleText(double value)
{
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string out(buffer, error == std::errc{} ? end : buffer);
    if (out.find_first_of(".eni") == std::string::npos)
        out += ".0";
    return out;
}

} // namespace

std::string DescribeVariant(const NPVariant& value)
{
    switch (value.type) {
    case NPVariantType_Void: return "void";
    case NPVariantType_Null: return "null";
    case NPVariantType_Bool: return value.value.boolValue ? "true" : "false";
    case NPVariantType_Int32: return std::to_string(value.value.intValue);
    case NPVariantType_Double: return DoubleText(value.value.doubleValue);
    case NPVariantType_String: {
        const NPString& s = value.value.stringValue;
        if (!s.UTF8Characters)
            return s.UTF8Length ? "invalid-string" : "\"\"";
        return Quoted({s.UTF8Characters, s.UTF8Length});
    }
    case NPVariantType_Object: return "object(" + HexAddress(value.value.objectValue) + ")";
    }
    return "invalid-variant";
}

std::string VariantsText(const NPVariant* values, std::uint32_t count)
{
    if (!values && count)
        return "(null)";
    std::string out = "(";
    for (std::uint32_t i = 0; i < count; ++i) {
        if (i)
            out.append(", ");
        out.append(DescribeVariant(values[i]));
    }
    return out.append(")");
}

} // namespace zn::np
