// Text form to binary form: a tokenizer and a recursive reader of objects, properties and
// values, writing each value through the binary format's writer.
#include "zintara/framework/exceptions.h"
#include "zintara/framework/form_binary.h"
#include "zintara/framework/form_text.h"
#include "zintara/framework/text.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace zn {

namespace {

enum class TToken { End, Symbol, Identifier, String, Integer, Float, Binary };

bool IsIdentStart(char C)
{
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
}
bool IsDigit(char C)
{
    return C >= '0' && C <= '9';
}
bool IsHexDigit(char C)
{
    return IsDigit(C) || (C >= 'A' && C <= 'F') || (C >= 'a' && C <= 'f');
}
int HexValue(char C)
{
    return IsDigit(C) ? C - '0' : (C | 0x20) - 'a' + 10;
}

class TTextParser {
public:
    TTextParser(std::string Text, TStream& Output) : FText(std::move(Text)), FOutput(Output)
    {
        if (FText.rfind("\xEF\xBB\xBF", 0) == 0) {
            FUtf8 = true;
            FPosition = 3;
        }
        Next();
    }

    void Convert()
    {
        FOutput.WriteSignature();
        ConvertObject();
        if (FToken != TToken::End)
            Error("End of text expected");
    }

private:
    [[noreturn]] void Error(const std::string& What)
    {
        throw EParserError(AnsiToWide(What) + L" on line " + std::to_wstring(FLine) +
                           L" of the form text");
    }

    void Nest()
    {
        if (++FDepth > MaxFormNesting)
            Error("Nesting too deep");
    }

    char Peek(std::size_t Ahead = 0) const
    {
        return FPosition + Ahead < FText.size() ? FText[FPosition + Ahead] : '\0';
    }

    void SkipBlanks()
    {
        while (FPosition < FText.size() && static_cast<unsigned char>(FText[FPosition]) <= ' ') {
            if (FText[FPosition] == '\n')
                ++FLine;
            ++FPosition;
        }
    }

    // Reads the next token into FToken and FValue (FString for strings).
    void Next()
    {
        SkipBlanks();
        FValue.clear();
        if (FPosition >= FText.size()) {
            FToken = TToken::End;
            return;
        }
        char c = Peek();
        if (IsIdentStart(c)) {
            while (IsIdentStart(Peek()) || IsDigit(Peek()) || Peek() == '.')
                FValue += FText[FPosition++];
            FToken = TToken::Identifier;
        } else if (c == '\'' || c == '#') {
            ReadString();
        } else if (IsDigit(c) || ((c == '-' || c == '+') && IsDigit(Peek(1))) ||
                   (c == '$' && IsHexDigit(Peek(1)))) {
            ReadNumber();
        } else if (c == '{') {
            ReadBinary();
        } else {
            FValue = c;
            ++FPosition;
            FToken = TToken::Symbol;
        }
    }

    void ReadString()
    {
        FString.clear();
        while (Peek() == '\'' || Peek() == '#') {
            if (Peek() == '\'') {
                ++FPosition;
                std::string run;
                for (;;) {
                    if (FPosition >= FText.size() || Peek() == '\n' || Peek() == '\r')
                        Error("Unterminated string");
                    if (Peek() == '\'') {
                        if (Peek(1) != '\'')
                            break;
                        ++FPosition;
                    }
                    run += FText[FPosition++];
                }
                ++FPosition;
                FString += FUtf8 ? Utf8ToWide(run) : AnsiToWide(run);
            } else {
                ++FPosition;
                unsigned long code = 0;
                bool hex = Peek() == '$';
                if (hex)
                    ++FPosition;
                std::size_t digits = 0;
                while (hex ? IsHexDigit(Peek()) : IsDigit(Peek())) {
                    code = code * (hex ? 16 : 10) +
                           static_cast<unsigned long>(hex ? HexValue(Peek()) : Peek() - '0');
                    if (code > 0xFFFF)
                        Error("Character code out of range");
                    ++FPosition;
                    ++digits;
                }
                if (digits == 0)
                    Error("Character code expected");
                FString += static_cast<wchar_t>(code);
            }
        }
        FToken = TToken::String;
    }

    void ReadNumber()
    {
        std::size_t start = FPosition;
        if (Peek() == '$') {
            ++FPosition;
            while (IsHexDigit(Peek()))
                ++FPosition;
            FValue = FText.substr(start, FPosition - start);
            FToken = TToken::Integer;
            return;
        }
        if (Peek() == '-' || Peek() == '+')
            ++FPosition;
        bool is_float = false;
        while (IsDigit(Peek()) || Peek() == '.' || Peek() == 'e' || Peek() == 'E' ||
               ((Peek() == '-' || Peek() == '+') && (FText[FPosition - 1] | 0x20) == 'e')) {
            is_float = is_float || !IsDigit(Peek());
            ++FPosition;
        }
        FValue = FText.substr(start, FPosition - start);
        FToken = is_float ? TToken::Float : TToken::Integer;
        if (is_float && (Peek() == 's' || Peek() == 'c' || Peek() == 'd'))
            FValue += FText[FPosition++];
    }

    void ReadBinary()
    {
        ++FPosition;
        FBinary.clear();
        int high = -1;
        for (;;) {
            SkipBlanks();
            char c = Peek();
            if (c == '}')
                break;
            if (!IsHexDigit(c))
                Error(FPosition >= FText.size() ? "Unterminated binary data"
                                                : "Hexadecimal digit expected");
            if (high < 0)
                high = HexValue(c);
            else {
                FBinary.push_back(static_cast<unsigned char>(high * 16 + HexValue(c)));
                high = -1;
            }
            ++FPosition;
        }
        if (high >= 0)
            Error("Odd number of hexadecimal digits");
        ++FPosition;
        FToken = TToken::Binary;
    }

    bool IsSymbol(char C) const { return FToken == TToken::Symbol && FValue[0] == C; }
    bool IsKeyword(const char* Word) const
    {
        return FToken == TToken::Identifier && SameText(AnsiToWide(FValue), AnsiToWide(Word));
    }
    void Expect(char C)
    {
        if (!IsSymbol(C))
            Error(std::string("'") + C + "' expected");
        Next();
    }
    std::wstring ExpectIdentifier()
    {
        if (FToken != TToken::Identifier)
            Error("Identifier expected");
        std::wstring name = AnsiToWide(FValue);
        Next();
        return name;
    }
    std::int64_t IntegerValue()
    {
        errno = 0;
        char* end = nullptr;
        bool hex = FValue[0] == '$';
        long long value = hex ? static_cast<long long>(std::strtoull(FValue.c_str() + 1, &end, 16))
                              : std::strtoll(FValue.c_str(), &end, 10);
        if (errno == ERANGE || *end != '\0')
            Error("Invalid integer " + FValue);
        return value;
    }

    void ConvertObject()
    {
        Nest();
        std::uint8_t flags = IsKeyword("inherited") ? ffInherited
                             : IsKeyword("inline")  ? ffInline
                                                    : 0;
        if (!flags && !IsKeyword("object"))
            Error("'object' expected");
        Next();
        std::wstring name = ExpectIdentifier();
        std::wstring class_name = name;
        if (IsSymbol(':')) {
            Next();
            class_name = ExpectIdentifier();
        } else {
            name.clear();
        }
        std::int32_t position = 0;
        if (IsSymbol('[')) {
            Next();
            if (FToken != TToken::Integer)
                Error("Child position expected");
            std::int64_t value = IntegerValue();
            if (value < INT32_MIN || value > INT32_MAX)
                Error("Child position out of range");
            position = static_cast<std::int32_t>(value);
            flags |= ffChildPos;
            Next();
            Expect(']');
        }
        FOutput.WritePrefix(flags, position);
        FOutput.WriteClassName(class_name);
        FOutput.WriteShortString(name);
        while (!IsKeyword("object") && !IsKeyword("inherited") && !IsKeyword("inline") &&
               !IsKeyword("end"))
            ConvertProperty();
        FOutput.WriteListEnd();
        while (!IsKeyword("end"))
            ConvertObject();
        FOutput.WriteListEnd();
        Next();
        --FDepth;
    }

    void ConvertProperty()
    {
        FOutput.WriteShortString(ExpectIdentifier());
        Expect('=');
        ConvertValue();
    }

    void ConvertValue()
    {
        switch (FToken) {
        case TToken::String: {
            std::wstring text = FString;
            Next();
            // Long strings are split into pieces joined by '+'.
            while (IsSymbol('+')) {
                Next();
                if (FToken != TToken::String)
                    Error("String expected");
                text += FString;
                Next();
            }
            FOutput.WriteString(text);
            return;
        }
        case TToken::Integer: FOutput.WriteInteger(IntegerValue()); break;
        case TToken::Float: ConvertFloat(); break;
        case TToken::Identifier: FOutput.WriteIdent(AnsiToWide(FValue)); break;
        case TToken::Binary: FOutput.WriteBinary(FBinary.data(), FBinary.size()); break;
        case TToken::Symbol:
            if (IsSymbol('['))
                return ConvertSet();
            if (IsSymbol('('))
                return ConvertList();
            if (IsSymbol('<'))
                return ConvertCollection();
            Error("Invalid property value");
        case TToken::End: Error("Property value expected");
        }
        Next();
    }

    // Whether Value survives being stored as Type: an overflow would be written as infinity (or,
    // for currency, as an integer that cannot hold it), which no reader accepts.
    static bool FitsType(TValueType Type, long double Value)
    {
        const long double magnitude = std::fabs(Value);
        switch (Type) {
        case vaSingle: return magnitude <= std::numeric_limits<float>::max();
        case vaDate: return magnitude <= std::numeric_limits<double>::max();
        // Currency is stored in ten-thousandths in 64 bits.
        case vaCurrency: return magnitude * 10000 < 0x1p63L;
        default: return std::isfinite(Value);
        }
    }

    void ConvertFloat()
    {
        char suffix = FValue.back();
        TValueType type = suffix == 's'   ? vaSingle
                          : suffix == 'c' ? vaCurrency
                          : suffix == 'd' ? vaDate
                                          : vaExtended;
        std::string number = type == vaExtended ? FValue : FValue.substr(0, FValue.size() - 1);
        if (type == vaCurrency && ConvertExactCurrency(number))
            return;
        char* end = nullptr;
        long double value = std::strtold(number.c_str(), &end);
        if (*end != '\0')
            Error("Invalid number " + FValue);
        if (!FitsType(type, value))
            Error("Number out of range " + FValue);
        FOutput.WriteFloat(type, value);
    }

    // A currency amount written without an exponent, read digit by digit into ten-thousandths
    // (rounded half away from zero beyond the fourth decimal): a long double would lose the
    // last digit of the largest amounts. False for any other notation.
    bool ConvertExactCurrency(const std::string& Number)
    {
        const bool is_signed = Number[0] == '-' || Number[0] == '+';
        const bool negative = Number[0] == '-';
        if (Number.find_first_not_of("0123456789.", is_signed ? 1 : 0) != std::string::npos ||
            Number.find_first_of("0123456789") == std::string::npos)
            return false;
        const std::uint64_t max = (std::uint64_t{1} << 63) - (negative ? 0 : 1);
        std::uint64_t units = 0;
        auto append = [&](unsigned Digit) {
            if (units > (max - Digit) / 10)
                Error("Number out of range " + FValue);
            units = units * 10 + Digit;
        };
        int decimals = -1;
        bool round_up = false;
        for (std::size_t i = is_signed ? 1 : 0; i < Number.size(); ++i) {
            if (Number[i] == '.') {
                if (decimals >= 0)
                    return false;
                decimals = 0;
            } else if (decimals < 4) {
                append(static_cast<unsigned>(Number[i] - '0'));
                if (decimals >= 0)
                    ++decimals;
            } else if (decimals++ == 4) {
                round_up = Number[i] >= '5';
            }
        }
        for (int k = decimals < 0 ? 0 : decimals; k < 4; ++k)
            append(0);
        if (round_up) {
            if (units == max)
                Error("Number out of range " + FValue);
            ++units;
        }
        FOutput.WriteCurrencyUnits(static_cast<std::int64_t>(negative ? 0 - units : units));
        return true;
    }

    void ConvertSet()
    {
        Next();
        FOutput.WriteValue(vaSet);
        while (!IsSymbol(']')) {
            FOutput.WriteShortString(ExpectIdentifier());
            if (IsSymbol(','))
                Next();
            else if (!IsSymbol(']'))
                Error("',' or ']' expected");
        }
        FOutput.WriteShortString(L"");
        Next();
    }

    void ConvertList()
    {
        Nest();
        Next();
        FOutput.WriteValue(vaList);
        while (!IsSymbol(')'))
            ConvertValue();
        FOutput.WriteListEnd();
        Next();
        --FDepth;
    }

    void ConvertCollection()
    {
        Nest();
        Next();
        FOutput.WriteValue(vaCollection);
        while (!IsSymbol('>')) {
            if (!IsKeyword("item"))
                Error("'item' expected");
            Next();
            if (IsSymbol('[')) {
                Next();
                if (FToken != TToken::Integer)
                    Error("Item index expected");
                FOutput.WriteInteger(IntegerValue());
                Next();
                Expect(']');
            }
            FOutput.WriteValue(vaList);
            while (!IsKeyword("end"))
                ConvertProperty();
            FOutput.WriteListEnd();
            Next();
        }
        FOutput.WriteListEnd();
        Next();
        --FDepth;
    }

    std::string FText;
    TFormOutput FOutput;
    std::size_t FPosition = 0;
    int FLine = 1;
    bool FUtf8 = false;
    int FDepth = 0;
    TToken FToken = TToken::End;
    std::string FValue;
    std::wstring FString;
    std::vector<unsigned char> FBinary;
};

} // namespace

void ObjectTextToBinary(TStream& Input, TStream& Output)
{
    std::int64_t size = Input.Remaining();
    if (size > INT32_MAX)
        throw EReadError(L"Form text too large");
    std::string text(static_cast<std::size_t>(size), '\0');
    Input.ReadBuffer(text.data(), text.size());
    TTextParser(std::move(text), Output).Convert();
}

} // namespace zn
