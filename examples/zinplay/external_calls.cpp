// ExternalInterface requests and answers on zinplay's side.
#include "external_calls.h"

#include "zintara/core/external_interface.h"

#include <array>
#include <utility>

namespace zn::zinplay {

namespace {

constexpr std::array<std::pair<wchar_t, std::wstring_view>, 5> Entities{
    {{L'&', L"&amp;"}, {L'<', L"&lt;"}, {L'>', L"&gt;"}, {L'"', L"&quot;"}, {L'\'', L"&apos;"}}};

std::wstring Unescaped(std::wstring_view Text)
{
    std::wstring out;
    for (std::size_t i = 0; i < Text.size();) {
        bool decoded = false;
        if (Text[i] == L'&')
            for (const auto& [character, entity] : Entities)
                if (Text.substr(i, entity.size()) == entity) {
                    out += character;
                    i += entity.size();
                    decoded = true;
                    break;
                }
        if (!decoded)
            out += Text[i++];
    }
    return out;
}

} // namespace

std::wstring InvokedFunctionName(std::wstring_view Request)
{
    constexpr std::wstring_view opening = L"<invoke name=\"";
    const std::size_t start = Request.find(opening);
    if (start == std::wstring_view::npos)
        return {};
    const std::size_t name_start = start + opening.size();
    const std::size_t end = Request.find(L'"', name_start);
    if (end == std::wstring_view::npos)
        return {};
    return Unescaped(Request.substr(name_start, end - name_start));
}

std::wstring StringValue(std::wstring_view Text)
{
    return L"<string>" + XmlEscaped(Text) + L"</string>";
}

std::wstring AnswerTo(std::wstring_view FunctionName)
{
    if (FunctionName == ReadyFunction)
        return StringValue(Greeting);
    return L"<undefined/>";
}

} // namespace zn::zinplay
