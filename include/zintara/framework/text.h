// Conversions between the framework's UTF-16 strings and 8-bit text: the system code page
// (CP_ACP) for ANSI text, UTF-8 for the narrow side of exceptions and forms.
#pragma once

#include <string>
#include <string_view>

namespace zn {

std::string WideToAnsi(std::wstring_view Text);
std::wstring AnsiToWide(std::string_view Text);
std::string WideToUtf8(std::wstring_view Text);
// Malformed sequences become U+FFFD.
std::wstring Utf8ToWide(std::string_view Text);

// Case-insensitive comparison of the ASCII letters only, the rule for identifiers.
bool SameText(std::wstring_view A, std::wstring_view B);

} // namespace zn
