// The system code page conversions, over the Win32 conversion routines. UTF-8 is in
// text_utf8.cpp, which needs no Windows header.
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

} // namespace

std::string WideToAnsi(std::wstring_view Text) { return FromWide(CP_ACP, Text); }
std::wstring AnsiToWide(std::string_view Text) { return ToWide(CP_ACP, Text); }

} // namespace zn
