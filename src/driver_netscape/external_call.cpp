// ExternalInterface scripts from the movie (see external_call.h).
#include "external_call.h"

#include "zintara/core/request_names.h"

namespace zn::netscape {
namespace {

constexpr std::string_view ScriptOpening = "try { __flash__toXML(";
constexpr std::string_view ScriptClosing = ") ; } catch (e)";

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
                if (!argument.empty() && argument.back() == '"')
                    argument.pop_back();
            }
            call.Arguments.push_back(std::move(argument));
        }
    }
    return call;
}

} // namespace zn::netscape
