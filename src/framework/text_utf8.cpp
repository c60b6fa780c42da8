// UTF-8 to and from the framework's UTF-16 strings, and the identifier comparison: plain C++,
// so that forms and exceptions read the same on every build. A wchar_t holds one UTF-16 unit
// even where it is wider, as the form reader stores them.
#include "zintara/framework/text.h"

#include <cstdint>
#include <type_traits>

namespace zn {

namespace {

constexpr char32_t Replacement = 0xFFFD;

void AppendUtf16(std::wstring& Out, char32_t Code) {
    if (Code < 0x10000) {
        Out += static_cast<wchar_t>(Code);
        return;
    }
    Code -= 0x10000;
    Out += static_cast<wchar_t>(0xD800 + (Code >> 10));
    Out += static_cast<wchar_t>(0xDC00 + (Code & 0x3FF));
}

void AppendUtf8(std::string& Out, char32_t Code) {
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

TLead LeadOf(unsigned char Lead) {
    if (Lead >= 0xC2 && Lead <= 0xDF) return {2, 0x80, 0xBF};
    if (Lead == 0xE0) return {3, 0xA0, 0xBF};
    if (Lead == 0xED) return {3, 0x80, 0x9F};
    if (Lead >= 0xE1 && Lead <= 0xEF) return {3, 0x80, 0xBF};
    if (Lead == 0xF0) return {4, 0x90, 0xBF};
    if (Lead == 0xF4) return {4, 0x80, 0x8F};
    if (Lead >= 0xF1 && Lead <= 0xF3) return {4, 0x80, 0xBF};
    return {0, 0, 0};
}

wchar_t AsciiUpper(wchar_t C) { return C >= L'a' && C <= L'z' ? static_cast<wchar_t>(C - 32) : C; }

} // namespace

// A malformed sequence becomes one U+FFFD for its longest valid beginning, or for the single
// byte that starts nothing valid.
std::wstring Utf8ToWide(std::string_view Text) {
    std::wstring Result;
    Result.reserve(Text.size());
    std::size_t I = 0;
    while (I < Text.size()) {
        const auto Lead = static_cast<unsigned char>(Text[I]);
        if (Lead < 0x80) {
            Result += static_cast<wchar_t>(Lead);
            ++I;
            continue;
        }
        const TLead Rule = LeadOf(Lead);
        char32_t Code = Rule.Length == 2 ? Lead & 0x1F : Rule.Length == 3 ? Lead & 0x0F : Lead & 0x07;
        std::size_t Taken = 1;
        bool Complete = Rule.Length != 0;
        for (int K = 1; Complete && K < Rule.Length; ++K) {
            if (I + Taken >= Text.size()) {
                Complete = false;
                break;
            }
            const auto Next = static_cast<unsigned char>(Text[I + Taken]);
            const bool Fits = K == 1 ? Next >= Rule.Low && Next <= Rule.High : (Next & 0xC0) == 0x80;
            if (!Fits) {
                Complete = false;
                break;
            }
            Code = Code << 6 | (Next & 0x3F);
            ++Taken;
        }
        AppendUtf16(Result, Complete ? Code : Replacement);
        I += Taken;
    }
    return Result;
}

// A surrogate without its partner, or a unit beyond U+10FFFF, becomes U+FFFD.
std::string WideToUtf8(std::wstring_view Text) {
    std::string Result;
    Result.reserve(Text.size());
    for (std::size_t I = 0; I < Text.size(); ++I) {
        auto Code = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(Text[I]));
        if (Code >= 0xD800 && Code <= 0xDBFF && I + 1 < Text.size()) {
            const auto Low = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(Text[I + 1]));
            if (Low >= 0xDC00 && Low <= 0xDFFF) {
                AppendUtf8(Result, 0x10000 + ((Code - 0xD800) << 10) + (Low - 0xDC00));
                ++I;
                continue;
            }
        }
        if ((Code >= 0xD800 && Code <= 0xDFFF) || Code > 0x10FFFF) Code = Replacement;
        AppendUtf8(Result, Code);
    }
    return Result;
}

bool SameText(std::wstring_view A, std::wstring_view B) {
    if (A.size() != B.size()) return false;
    for (size_t I = 0; I < A.size(); ++I)
        if (AsciiUpper(A[I]) != AsciiUpper(B[I])) return false;
    return true;
}

} // namespace zn
