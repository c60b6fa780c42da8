// The code-page conversions, over the Win32 conversion routines.
#include "zintara/framework/text.h"

#include <windows.h>

#include <climits>

namespace zn {

namespace {

std::string FromWide(UINT CodePage, std::wstring_view Text) {
    if (Text.empty() || Text.size() > INT_MAX) return {};
    int Length = static_cast<int>(Text.size());
    int Needed = WideCharToMultiByte(CodePage, 0, Text.data(), Length, nullptr, 0, nullptr, nullptr);
    std::string Result(static_cast<size_t>(Needed), '\0');
    WideCharToMultiByte(CodePage, 0, Text.data(), Length, Result.data(), Needed, nullptr, nullptr);
    return Result;
}

std::wstring ToWide(UINT CodePage, std::string_view Text) {
    if (Text.empty() || Text.size() > INT_MAX) return {};
    int Length = static_cast<int>(Text.size());
    int Needed = MultiByteToWideChar(CodePage, 0, Text.data(), Length, nullptr, 0);
    std::wstring Result(static_cast<size_t>(Needed), L'\0');
    MultiByteToWideChar(CodePage, 0, Text.data(), Length, Result.data(), Needed);
    return Result;
}

wchar_t AsciiUpper(wchar_t C) { return C >= L'a' && C <= L'z' ? static_cast<wchar_t>(C - 32) : C; }

} // namespace

std::string WideToAnsi(std::wstring_view Text) { return FromWide(CP_ACP, Text); }
std::wstring AnsiToWide(std::string_view Text) { return ToWide(CP_ACP, Text); }
std::string WideToUtf8(std::wstring_view Text) { return FromWide(CP_UTF8, Text); }
std::wstring Utf8ToWide(std::string_view Text) { return ToWide(CP_UTF8, Text); }

bool SameText(std::wstring_view A, std::wstring_view B) {
    if (A.size() != B.size()) return false;
    for (size_t I = 0; I < A.size(); ++I)
        if (AsciiUpper(A[I]) != AsciiUpper(B[I])) return false;
    return true;
}

} // namespace zn
