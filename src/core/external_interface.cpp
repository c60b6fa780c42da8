// ExternalInterface requests (see external_interface.h).
#include "zintara/core/external_interface.h"

namespace zn {

std::wstring XmlEscaped(std::wstring_view Text)
{
    std::wstring escaped;
    escaped.reserve(Text.size());
    for (wchar_t c : Text) {
        switch (c) {
        case L'&': escaped += L"&amp;"; break;
        case L'<': escaped += L"&lt;"; break;
        case L'>': escaped += L"&gt;"; break;
        case L'"': escaped += L"&quot;"; break;
        case L'\'': escaped += L"&apos;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::wstring BuildInvokeRequest(std::wstring_view Name, const std::vector<std::wstring>& Arguments,
                                std::wstring_view ReturnType)
{
    std::wstring request = L"<invoke name=\"" + XmlEscaped(Name) + L"\" returntype=\"";
    request += ReturnType;
    request += L"\"><arguments>";
    for (const std::wstring& argument : Arguments)
        request += L"<string>" + XmlEscaped(argument) + L"</string>";
    request += L"</arguments></invoke>";
    return request;
}

std::wstring BuildCallRequest(std::wstring_view Name,
                              const std::vector<TExternalArgument>& Arguments)
{
    using TKind = TExternalArgument::TKind;
    std::wstring request =
        L"<invoke name=\"" + XmlEscaped(Name) + L"\" returntype=\"xml\"><arguments>";
    for (const TExternalArgument& argument : Arguments) {
        switch (argument.Kind) {
        case TKind::String:
            request += L"<string>" + XmlEscaped(argument.Text) + L"</string>";
            break;
        case TKind::Number:
            request += L"<number>" + XmlEscaped(argument.Text) + L"</number>";
            break;
        case TKind::Boolean: request += argument.Text == L"true" ? L"<true/>" : L"<false/>"; break;
        case TKind::Null: request += L"<null/>"; break;
        case TKind::Undefined: request += L"<undefined/>"; break;
        }
    }
    request += L"</arguments></invoke>";
    return request;
}

} // namespace zn
