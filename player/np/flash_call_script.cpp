// Writing an ExternalInterface call as the script the browser evaluates.
#include "flash_call_script.h"

#include <cstdio>

namespace zn::np {

namespace {

void AppendStringLiteral(std::string& out, std::string_view text)
{
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default:
            if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\x%02x", c);
                out += escape;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

} // namespace

std::string FlashCallScript(std::string_view name, const std::vector<FlashCallArgument>& args)
{
    std::string script = "try { __flash__toXML(";
    script.append(name);
    script += '(';
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i)
            script += ',';
        const FlashCallArgument& arg = args[i];
        switch (arg.kind) {
        case FlashCallArgument::Kind::String: AppendStringLiteral(script, arg.text); break;
        case FlashCallArgument::Kind::Number: script += swf::FormatNumber(arg.number); break;
        case FlashCallArgument::Kind::Boolean: script += arg.boolean ? "true" : "false"; break;
        case FlashCallArgument::Kind::Null: script += "null"; break;
        case FlashCallArgument::Kind::Undefined: script += "undefined"; break;
        }
    }
    script += ")) ; } catch (e) { \"<undefined/>\"; }";
    return script;
}

} // namespace zn::np
