// The system code page conversions, over the Win32 conversion routines. UTF-8 is in
// text_utf8.cpp, which needs no Windows header.
#include "zintara/framework/text.h"

#include <windows.h>

#include <climits>

namespace zn {

namespace {

std::string FromWide(UINT CodePage, std::wstring_view Text)
{
    if (Text.empty() || Text.size() > INT_MAX)
        return {};
    int length = static_cast<int>(Text.size());
    int needed =
        WideCharToMultiByte(CodePage, 0, Text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CodePage, 0, Text.data(), length, result.data(), needed, nullptr, nullptr);
    return result;
}

std::wstring ToWide(UINT CodePage, std::string_view Text)
{
    if (Text.empty() || Text.size() > INT_MAX)
        return {};
    int length = static_cast<int>(Text.size());
    int needed = MultiByteToWideChar(CodePage, 0, Text.data(), length, nullptr, 0);
    std::wstring result(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CodePage, 0, Text.data(), length, result.data(), needed);
    return result;
}

} // namespace

std::string WideToAnsi(std::wstring_view Text)
{
    return FromWide(CP_ACP, Text);
}
std::wstring AnsiToWide(std::string_view Text)
{
    return ToWide(CP_ACP, Text);
}

} // namespace zn
