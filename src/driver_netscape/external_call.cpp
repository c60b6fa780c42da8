// ExternalInterface scripts from the movie (see external_call.h).
#include "external_call.h"

#include "zintara/core/request_names.h"

#include <charconv>

namespace zn::netscape {
namespace {

constexpr std::string_view ScriptOpening = "try { __flash__toXML(";
constexpr std::string_view ScriptClosing = ") ; } catch (e)";

// The value of Digits as a hexadecimal number, or -1 when it holds anything else.
long HexValue(std::string_view Digits)
{
    const char* const end = Digits.data() + Digits.size();
    unsigned value = 0;
    const auto [stop, error] = std::from_chars(Digits.data(), end, value, 16);
    return error == std::errc() && stop == end ? static_cast<long>(value) : -1;
}

// The text a script string literal stands for. \uXXXX beyond ASCII stays as written: the text
// is in the plug-in's code page, which this parser does not know. Any other escaped character
// stands for itself, as in the script language.
std::string Unescaped(std::string_view Literal)
{
    std::string text;
    text.reserve(Literal.size());
    for (std::size_t i = 0; i < Literal.size(); ++i) {
        if (Literal[i] != '\\' || i + 1 == Literal.size()) {
            text += Literal[i];
            continue;
        }
        const char escaped = Literal[++i];
        switch (escaped) {
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        case 't': text += '\t'; break;
        case 'b': text += '\b'; break;
        case 'f': text += '\f'; break;
        case 'v': text += '\v'; break;
        case '0': text += '\0'; break;
        case 'x':
        case 'u': {
            const std::size_t digits = escaped == 'x' ? 2 : 4;
            const std::string_view hex = Literal.substr(i + 1, digits);
            const long value = hex.size() == digits ? HexValue(hex) : -1;
            if (value >= 0 && (escaped == 'x' || value < 0x80)) {
                text += static_cast<char>(value);
                i += digits;
            } else {
                text += '\\';
                text += escaped;
            }
            break;
        }
        default: text += escaped;
        }
    }
    return text;
}

// Whether the quote that ends Argument closes it: an escaped quote is part of the text.
bool EndsWithClosingQuote(std::string_view Argument)
{
    if (Argument.empty() || Argument.back() != '"')
        return false;
    std::size_t backslashes = 0;
    while (backslashes + 1 < Argument.size() && Argument[Argument.size() - 2 - backslashes] == '\\')
        ++backslashes;
    return backslashes % 2 == 0;
}

using TKind = TExternalArgument::TKind;

// The kind of value an unquoted literal of the script is.
TKind KindOfLiteral(std::string_view Literal)
{
    if (Literal == "true" || Literal == "false")
        return TKind::Boolean;
    if (Literal == "null")
        return TKind::Null;
    if (Literal.empty() || Literal == "undefined")
        return TKind::Undefined;
    return TKind::Number;
}

} // namespace

std::optional<TExternalCall> ParseFlashCallScript(std::string_view Script)
{
    if (Script.substr(0, ScriptOpening.size()) != ScriptOpening)
        return std::nullopt;
    Script.remove_prefix(ScriptOpening.size());
    Script = Script.substr(0, Script.find(ScriptClosing));

    std::string rest(Script);
    TExternalCall call;
    call.Name = ReadToken(rest, "(");
    if (rest.size() > 1) {
        while (!rest.empty()) {
            std::string argument = ReadToken(rest, ",)");
            if (!argument.empty() && argument.front() == '"') {
                argument.erase(0, 1);
                if (EndsWithClosingQuote(argument))
                    argument.pop_back();
                call.Arguments.push_back({Unescaped(argument), TKind::String});
            } else {
                call.Arguments.push_back({argument, KindOfLiteral(argument)});
            }
        }
    }
    return call;
}

} // namespace zn::netscape
