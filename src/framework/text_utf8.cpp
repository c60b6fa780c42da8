// UTF-8 to and from the framework's UTF-16 strings, and the identifier comparison: plain C++,
// so that forms and exceptions read the same on every build. A wchar_t holds one UTF-16 unit
// even where it is wider, as the form reader stores them.
#include "zintara/framework/text.h"

#include <cstdint>
#include <type_traits>

namespace zn {

namespace {

constexpr char32_t Replacement = 0xFFFD;

void AppendUtf16(std::wstring& Out, char32_t Code)
{
    if (Code < 0x10000) {
        Out += static_cast<wchar_t>(Code);
        return;
    }
    Code -= 0x10000;
    Out += static_cast<wchar_t>(0xD800 + (Code >> 10));
    Out += static_cast<wchar_t>(0xDC00 + (Code & 0x3FF));
}

void AppendUtf8(std::string& Out, char32_t Code)
{
    if (Code < 0x80) {
        Out += static_cast<char>(Code);
    } else if (Code < 0x800) {
        Out += static_cast<char>(0xC0 | Code >> 6);
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else if (Code < 0x10000) {
        Out += static_cast<char>(0xE0 | Code >> 12);
        Out += static_cast<char>(0x80 | (Code >> 6 & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | Code >> 18);
        Out += static_cast<char>(0x80 | (Code >> 12 & 0x3F));
        Out += static_cast<char>(0x80 | (Code >> 6 & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    }
}

// The sequence at Text[I], whose lead byte is Lead: its length and the range its second byte
// must fall in (which rules out overlong forms, surrogates and code points beyond U+10FFFF).
// Length 0 for a byte that cannot start a sequence.
struct TLead {
    int Length;
    unsigned char Low, High;
};

TLead LeadOf(unsigned char Lead)
{
    if (Lead >= 0xC2 && Lead <= 0xDF)
        return {2, 0x80, 0xBF};
    if (Lead == 0xE0)
        return {3, 0xA0, 0xBF};
    if (Lead == 0xED)
        return {3, 0x80, 0x9F};
    if (Lead >= 0xE1 && Lead <= 0xEF)
        return {3, 0x80, 0xBF};
    if (Lead == 0xF0)
        return {4, 0x90, 0xBF};
    if (Lead == 0xF4)
        return {4, 0x80, 0x8F};
    if (Lead >= 0xF1 && Lead <= 0xF3)
        return {4, 0x80, 0xBF};
    return {0, 0, 0};
}

wchar_t AsciiUpper(wchar_t C)
{
    return C >= L'a' && C <= L'z' ? static_cast<wchar_t>(C - 32) : C;
}

} // namespace

// A malformed sequence becomes one U+FFFD for its longest valid beginning, or for the single
// byte that starts nothing valid.
std::wstring Utf8ToWide(std::string_view Text)
{
    std::wstring result;
    result.reserve(Text.size());
    std::size_t i = 0;
    while (i < Text.size()) {
        const auto lead = static_cast<unsigned char>(Text[i]);
        if (lead < 0x80) {
            result += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        const TLead rule = LeadOf(lead);
        char32_t code = rule.Length == 2   ? lead & 0x1F
                        : rule.Length == 3 ? lead & 0x0F
                                           : lead & 0x07;
        std::size_t taken = 1;
        bool complete = rule.Length != 0;
        for (int k = 1; complete && k < rule.Length; ++k) {
            if (i + taken >= Text.size()) {
                complete = false;
                break;
            }
            const auto next = static_cast<unsigned char>(Text[i + taken]);
            const bool fits =
                k == 1 ? next >= rule.Low && next <= rule.High : (next & 0xC0) == 0x80;
            if (!fits) {
                complete = false;
                break;
            }
            code = code << 6 | (next & 0x3F);
            ++taken;
        }
        AppendUtf16(result, complete ? code : Replacement);
        i += taken;
    }
    return result;
}

// A surrogate without its partner, or a unit beyond U+10FFFF, becomes U+FFFD.
std::string WideToUtf8(std::wstring_view Text)
{
    std::string result;
    result.reserve(Text.size());
    for (std::size_t i = 0; i < Text.size(); ++i) {
        auto code = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(Text[i]));
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < Text.size()) {
            const auto low =
                static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(Text[i + 1]));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(result, 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            code = Replacement;
        AppendUtf8(result, code);
    }
    return result;
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
