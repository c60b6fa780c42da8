// ExternalInterface XML both ways: the player's reading of requests and answers from any text,
// which must read back what it writes of them, and the library's requests, which the player
// must read back as the name and arguments they were built from.
#include "zintara/core/external_interface.h"
#include "znswf/external_interface.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using zn::swf::ExternalValue;

// Numbers are compared as they are printed: the XML carries 15 significant digits.
bool Same(const ExternalValue& A, const ExternalValue& B)
{
    return A.kind == B.kind && A.boolean == B.boolean && A.text == B.text &&
           zn::swf::FormatNumber(A.number) == zn::swf::FormatNumber(B.number);
}

void CheckPlayerRoundTrip(std::string_view Xml)
{
    const ExternalValue value = zn::swf::DecodeExternalValue(Xml);
    if (!Same(zn::swf::DecodeExternalValue(zn::swf::EncodeExternalValue(value)), value))
        std::abort();

    const auto invocation = zn::swf::DecodeExternalInvocation(Xml);
    if (!invocation)
        return;
    const auto again =
        zn::swf::DecodeExternalInvocation(zn::swf::EncodeExternalInvocation(*invocation));
    if (!again || again->name != invocation->name ||
        again->arguments.size() != invocation->arguments.size())
        std::abort();
    for (std::size_t i = 0; i < again->arguments.size(); ++i)
        if (!Same(again->arguments[i], invocation->arguments[i]))
            std::abort();
}

// The input split at NUL bytes: the function name, then its arguments, each byte one character.
void CheckLibraryRequest(std::string_view Input)
{
    std::vector<std::wstring> parts(1);
    for (const char c : Input) {
        if (c == '\0')
            parts.emplace_back();
        else
            parts.back() += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    if (parts.front().empty())
        return;
    const std::vector<std::wstring> arguments(parts.begin() + 1, parts.end());
    const std::wstring request = zn::BuildInvokeRequest(parts.front(), arguments);
    std::string narrow;
    for (const wchar_t c : request)
        narrow += static_cast<char>(c);

    const auto invocation = zn::swf::DecodeExternalInvocation(narrow);
    if (!invocation || invocation->arguments.size() != arguments.size())
        std::abort();
    auto narrowed = [](const std::wstring& Text) { return std::string(Text.begin(), Text.end()); };
    if (invocation->name != narrowed(parts.front()))
        std::abort();
    for (std::size_t i = 0; i < arguments.size(); ++i)
        if (invocation->arguments[i].kind != ExternalValue::Kind::String ||
            invocation->arguments[i].text != narrowed(arguments[i]))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::string_view input(reinterpret_cast<const char*>(Data), Size);
    CheckPlayerRoundTrip(input);
    CheckLibraryRequest(input);
    return 0;
}
