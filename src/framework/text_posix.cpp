// The system code page conversions on a POSIX system, where the C library's multibyte
// conversions in the process locale play the part of CP_ACP: the native build of the pure
// parts (fuzz/) uses this file in place of text.cpp. Bytes the locale cannot read become
// U+FFFD and characters it cannot write become '?', as the Win32 routines do by default.
#include "zintara/framework/text.h"

#include <climits>
#include <cwchar>

namespace zn {

std::wstring AnsiToWide(std::string_view Text)
{
    std::wstring Result;
    std::mbstate_t State{};
    std::size_t I = 0;
    while (I < Text.size()) {
        wchar_t Code = 0;
        const std::size_t Taken = std::mbrtowc(&Code, Text.data() + I, Text.size() - I, &State);
        if (Taken == static_cast<std::size_t>(-1) || Taken == static_cast<std::size_t>(-2)) {
            Result += static_cast<wchar_t>(0xFFFD);
            State = std::mbstate_t{};
            ++I;
            continue;
        }
        const auto Unit = static_cast<char32_t>(Code);
        if (Unit >= 0x10000) {
            Result += static_cast<wchar_t>(0xD800 + ((Unit - 0x10000) >> 10));
            Result += static_cast<wchar_t>(0xDC00 + ((Unit - 0x10000) & 0x3FF));
        } else {
            Result += Code;
        }
        I += Taken == 0 ? 1 : Taken;
    }
    return Result;
}

std::string WideToAnsi(std::wstring_view Text)
{
    std::string Result;
    std::mbstate_t State{};
    char Bytes[MB_LEN_MAX];
    for (wchar_t Code : Text) {
        const std::size_t Written = std::wcrtomb(Bytes, Code, &State);
        if (Written == static_cast<std::size_t>(-1)) {
            Result += '?';
            State = std::mbstate_t{};
        } else {
            Result.append(Bytes, Written);
        }
    }
    return Result;
}

} // namespace zn
