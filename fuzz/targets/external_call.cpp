// The script through which the plug-in calls out of the movie (NPN_Evaluate's text), and the
// ExternalInterface request the library builds from what it finds: the request must stay
// well-formed whatever the script held.
#include "external_call.h"

#include "zintara/core/external_interface.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Every '&' starts one of the entities the escaper writes, and no '<', '>', '"' or "'" is left
// raw.
void CheckEscaped(const std::wstring& Escaped)
{
    for (std::size_t i = 0; i < Escaped.size(); ++i) {
        const wchar_t c = Escaped[i];
        if (c == L'<' || c == L'>' || c == L'"' || c == L'\'')
            std::abort();
        if (c != L'&')
            continue;
        const std::wstring_view rest = std::wstring_view(Escaped).substr(i);
        if (!rest.starts_with(L"&amp;") && !rest.starts_with(L"&lt;") &&
            !rest.starts_with(L"&gt;") && !rest.starts_with(L"&quot;") &&
            !rest.starts_with(L"&apos;"))
            std::abort();
    }
}

std::wstring Widened(const std::string& Text)
{
    return std::wstring(Text.begin(), Text.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::string_view script(reinterpret_cast<const char*>(Data), Size);
    const auto call = zn::netscape::ParseFlashCallScript(script);
    if (!call)
        return 0;
    if (call->Name.size() > Size)
        std::abort();
    std::vector<zn::TExternalArgument> arguments;
    for (const zn::netscape::TScriptArgument& argument : call->Arguments) {
        if (argument.Text.size() > Size)
            std::abort();
        arguments.push_back({argument.Kind, Widened(argument.Text)});
        CheckEscaped(zn::XmlEscaped(arguments.back().Text));
    }
    CheckEscaped(zn::XmlEscaped(Widened(call->Name)));
    const std::wstring request = zn::BuildCallRequest(Widened(call->Name), arguments);
    if (!request.starts_with(L"<invoke name=\"") || !request.ends_with(L"</arguments></invoke>"))
        std::abort();
    return 0;
}
