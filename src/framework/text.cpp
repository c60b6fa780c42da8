// The code-page conversions, over the Win32 conversion routines.
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

wchar_t AsciiUpper(wchar_t C)
{
    return C >= L'a' && C <= L'z' ? static_cast<wchar_t>(C - 32) : C;
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
std::string WideToUtf8(std::wstring_view Text)
{
    return FromWide(CP_UTF8, Text);
}
std::wstring Utf8ToWide(std::string_view Text)
{
    return ToWide(CP_UTF8, Text);
}

bool SameText(std::wstring_view A, std::wstring_view B)
{
    if (A.size() != B.size())
        return false;
    for (size_t i = 0; i < A.size(); ++i)
        if (AsciiUpper(A[i]) != AsciiUpper(B[i]))
            return false;
    return true;
}

} // namespace zn
