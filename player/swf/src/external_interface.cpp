// ExternalInterface XML, both directions.
#include "znswf/external_interface.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zn::swf {
namespace {

std::string Escape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Unescape(std::string_view text)
{
    static constexpr struct {
        std::string_view entity;
        char c;
    } entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '&') {
            for (const auto& e : entities) {
                if (text.substr(i, e.entity.size()) == e.entity) {
                    out += e.c;
                    i += e.entity.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && std::strchr(" \t\r\n", text.front()))
        text.remove_prefix(1);
    while (!text.empty() && std::strchr(" \t\r\n", text.back()))
        text.remove_suffix(1);
    return text;
}

// Reads one value element at the front of `xml` and removes it; false when there is none.
bool TakeValue(std::string_view& xml, ExternalValue& value)
{
    xml = Trim(xml);
    static const struct {
        std::string_view tag;
        ExternalValue value;
    } empties[] = {{"<true/>", ExternalValue::Boolean(true)},
                   {"<false/>", ExternalValue::Boolean(false)},
                   {"<null/>", ExternalValue::Null()},
                   {"<undefined/>", ExternalValue::Undefined()}};
    for (const auto& e : empties) {
        if (xml.starts_with(e.tag)) {
            value = e.value;
            xml.remove_prefix(e.tag.size());
            return true;
        }
    }
    for (std::string_view name : {std::string_view("string"), std::string_view("number")}) {
        std::string open = "<" + std::string(name) + ">", close = "</" + std::string(name) + ">";
        std::string self_closed = "<" + std::string(name) + "/>";
        if (xml.starts_with(self_closed)) {
            value = name == "string" ? ExternalValue::String("") : ExternalValue::Number(0);
            xml.remove_prefix(self_closed.size());
            return true;
        }
        if (!xml.starts_with(open))
            continue;
        size_t end = xml.find(close, open.size());
        if (end == std::string_view::npos)
            return false;
        std::string text = Unescape(xml.substr(open.size(), end - open.size()));
        if (name == "string") {
            value = ExternalValue::String(std::move(text));
        } else {
            char* stop = nullptr;
            double number = std::strtod(text.c_str(), &stop);
            value = ExternalValue::Number(stop == text.c_str() ? std::nan("") : number);
        }
        xml.remove_prefix(end + close.size());
        return true;
    }
    return false;
}

} // namespace

std::string FormatNumber(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0)
        return "0";
    char buffer[32];
    if (std::fabs(value) < 1e15 && value == std::floor(value)) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.15g", value);
    }
    return buffer;
}

std::string EncodeExternalValue(const ExternalValue& value)
{
    switch (value.kind) {
    case ExternalValue::Kind::Undefined: return "<undefined/>";
    case ExternalValue::Kind::Null: return "<null/>";
    case ExternalValue::Kind::Boolean: return value.boolean ? "<true/>" : "<false/>";
    case ExternalValue::Kind::Number: return "<number>" + FormatNumber(value.number) + "</number>";
    case ExternalValue::Kind::String: return "<string>" + Escape(value.text) + "</string>";
    }
    return "<undefined/>";
}

std::string EncodeExternalInvocation(const ExternalInvocation& invocation)
{
    std::string xml =
        "<invoke name=\"" + Escape(invocation.name) + "\" returntype=\"xml\"><arguments>";
    for (const ExternalValue& argument : invocation.arguments)
        xml += EncodeExternalValue(argument);
    return xml + "</arguments></invoke>";
}

ExternalValue DecodeExternalValue(std::string_view xml)
{
    ExternalValue value;
    if (!TakeValue(xml, value))
        return {};
    return value;
}

std::optional<ExternalInvocation> DecodeExternalInvocation(std::string_view xml)
{
    xml = Trim(xml);
    constexpr std::string_view opening = "<invoke name=\"";
    if (!xml.starts_with(opening))
        return std::nullopt;
    xml.remove_prefix(opening.size());
    size_t quote = xml.find('"');
    if (quote == std::string_view::npos || quote == 0)
        return std::nullopt;
    ExternalInvocation invocation;
    invocation.name = Unescape(xml.substr(0, quote));
    xml.remove_prefix(quote + 1);
    size_t tag_end = xml.find('>');
    if (tag_end == std::string_view::npos)
        return std::nullopt;
    bool self_closed = tag_end > 0 && xml[tag_end - 1] == '/';
    xml.remove_prefix(tag_end + 1);
    if (self_closed)
        return invocation;
    xml = Trim(xml);
    constexpr std::string_view arguments_open = "<arguments>";
    if (!xml.starts_with(arguments_open))
        return invocation;
    xml.remove_prefix(arguments_open.size());
    ExternalValue value;
    while (TakeValue(xml, value))
        invocation.arguments.push_back(std::move(value));
    return invocation;
}

} // namespace zn::swf
