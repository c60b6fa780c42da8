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

bool IsIdentStart(char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_'; }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }
bool IsHexDigit(char C) { return IsDigit(C) || (C >= 'A' && C <= 'F') || (C >= 'a' && C <= 'f'); }
int HexValue(char C) { return IsDigit(C) ? C - '0' : (C | 0x20) - 'a' + 10; }

class TTextParser {
public:
    TTextParser(std::string Text, TStream& Output) : FText(std::move(Text)), FOutput(Output) {
        if (FText.rfind("\xEF\xBB\xBF", 0) == 0) {
            FUtf8 = true;
            FPosition = 3;
        }
        Next();
    }

    void Convert() {
        FOutput.WriteSignature();
        ConvertObject();
        if (FToken != TToken::End) Error("End of text expected");
    }

private:
    [[noreturn]] void Error(const std::string& What) {
        throw EParserError(AnsiToWide(What) + L" on line " + std::to_wstring(FLine) + L" of the form text");
    }

    void Nest() {
        if (++FDepth > MaxFormNesting) Error("Nesting too deep");
    }

    char Peek(std::size_t Ahead = 0) const {
        return FPosition + Ahead < FText.size() ? FText[FPosition + Ahead] : '\0';
    }

    void SkipBlanks() {
        while (FPosition < FText.size() && static_cast<unsigned char>(FText[FPosition]) <= ' ') {
            if (FText[FPosition] == '\n') ++FLine;
            ++FPosition;
        }
    }

    // Reads the next token into FToken and FValue (FString for strings).
    void Next() {
        SkipBlanks();
        FValue.clear();
        if (FPosition >= FText.size()) {
            FToken = TToken::End;
            return;
        }
        char C = Peek();
        if (IsIdentStart(C)) {
            while (IsIdentStart(Peek()) || IsDigit(Peek()) || Peek() == '.') FValue += FText[FPosition++];
            FToken = TToken::Identifier;
        } else if (C == '\'' || C == '#') {
            ReadString();
        } else if (IsDigit(C) || ((C == '-' || C == '+') && IsDigit(Peek(1))) || (C == '$' && IsHexDigit(Peek(1)))) {
            ReadNumber();
        } else if (C == '{') {
            ReadBinary();
        } else {
            FValue = C;
            ++FPosition;
            FToken = TToken::Symbol;
        }
    }

    void ReadString() {
        FString.clear();
        while (Peek() == '\'' || Peek() == '#') {
            if (Peek() == '\'') {
                ++FPosition;
                std::string Run;
                for (;;) {
                    if (FPosition >= FText.size() || Peek() == '\n' || Peek() == '\r') Error("Unterminated string");
                    if (Peek() == '\'') {
                        if (Peek(1) != '\'') break;
                        ++FPosition;
                    }
                    Run += FText[FPosition++];
                }
                ++FPosition;
                FString += FUtf8 ? Utf8ToWide(Run) : AnsiToWide(Run);
            } else {
                ++FPosition;
                unsigned long Code = 0;
                bool Hex = Peek() == '$';
                if (Hex) ++FPosition;
                std::size_t Digits = 0;
                while (Hex ? IsHexDigit(Peek()) : IsDigit(Peek())) {
                    Code = Code * (Hex ? 16 : 10) + static_cast<unsigned long>(Hex ? HexValue(Peek()) : Peek() - '0');
                    if (Code > 0xFFFF) Error("Character code out of range");
                    ++FPosition;
                    ++Digits;
                }
                if (Digits == 0) Error("Character code expected");
                FString += static_cast<wchar_t>(Code);
            }
        }
        FToken = TToken::String;
    }

    void ReadNumber() {
        std::size_t Start = FPosition;
        if (Peek() == '$') {
            ++FPosition;
            while (IsHexDigit(Peek())) ++FPosition;
            FValue = FText.substr(Start, FPosition - Start);
            FToken = TToken::Integer;
            return;
        }
        if (Peek() == '-' || Peek() == '+') ++FPosition;
        bool Float = false;
        while (IsDigit(Peek()) || Peek() == '.' || Peek() == 'e' || Peek() == 'E' ||
               ((Peek() == '-' || Peek() == '+') && (FText[FPosition - 1] | 0x20) == 'e')) {
            Float = Float || !IsDigit(Peek());
            ++FPosition;
        }
        FValue = FText.substr(Start, FPosition - Start);
        FToken = Float ? TToken::Float : TToken::Integer;
        if (Float && (Peek() == 's' || Peek() == 'c' || Peek() == 'd')) FValue += FText[FPosition++];
    }

    void ReadBinary() {
        ++FPosition;
        FBinary.clear();
        int High = -1;
        for (;;) {
            SkipBlanks();
            char C = Peek();
            if (C == '}') break;
            if (!IsHexDigit(C)) Error(FPosition >= FText.size() ? "Unterminated binary data" : "Hexadecimal digit expected");
            if (High < 0) High = HexValue(C);
            else {
                FBinary.push_back(static_cast<unsigned char>(High * 16 + HexValue(C)));
                High = -1;
            }
            ++FPosition;
        }
        if (High >= 0) Error("Odd number of hexadecimal digits");
        ++FPosition;
        FToken = TToken::Binary;
    }

    bool IsSymbol(char C) const { return FToken == TToken::Symbol && FValue[0] == C; }
    bool IsKeyword(const char* Word) const {
        return FToken == TToken::Identifier && SameText(AnsiToWide(FValue), AnsiToWide(Word));
    }
    void Expect(char C) {
        if (!IsSymbol(C)) Error(std::string("'") + C + "' expected");
        Next();
    }
    std::wstring ExpectIdentifier() {
        if (FToken != TToken::Identifier) Error("Identifier expected");
        std::wstring Name = AnsiToWide(FValue);
        Next();
        return Name;
    }
    std::int64_t IntegerValue() {
        errno = 0;
        char* End = nullptr;
        bool Hex = FValue[0] == '$';
        long long Value = Hex ? static_cast<long long>(std::strtoull(FValue.c_str() + 1, &End, 16))
                              : std::strtoll(FValue.c_str(), &End, 10);
        if (errno == ERANGE || *End != '\0') Error("Invalid integer " + FValue);
        return Value;
    }

    void ConvertObject() {
        Nest();
        std::uint8_t Flags = IsKeyword("inherited") ? ffInherited : IsKeyword("inline") ? ffInline : 0;
        if (!Flags && !IsKeyword("object")) Error("'object' expected");
        Next();
        std::wstring Name = ExpectIdentifier();
        std::wstring ClassName = Name;
        if (IsSymbol(':')) {
            Next();
            ClassName = ExpectIdentifier();
        } else {
            Name.clear();
        }
        std::int32_t Position = 0;
        if (IsSymbol('[')) {
            Next();
            if (FToken != TToken::Integer) Error("Child position expected");
            std::int64_t Value = IntegerValue();
            if (Value < INT32_MIN || Value > INT32_MAX) Error("Child position out of range");
            Position = static_cast<std::int32_t>(Value);
            Flags |= ffChildPos;
            Next();
            Expect(']');
        }
        FOutput.WritePrefix(Flags, Position);
        FOutput.WriteClassName(ClassName);
        FOutput.WriteShortString(Name);
        while (!IsKeyword("object") && !IsKeyword("inherited") && !IsKeyword("inline") && !IsKeyword("end"))
            ConvertProperty();
        FOutput.WriteListEnd();
        while (!IsKeyword("end")) ConvertObject();
        FOutput.WriteListEnd();
        Next();
        --FDepth;
    }

    void ConvertProperty() {
        FOutput.WriteShortString(ExpectIdentifier());
        Expect('=');
        ConvertValue();
    }

    void ConvertValue() {
        switch (FToken) {
        case TToken::String: {
            std::wstring Text = FString;
            Next();
            // Long strings are split into pieces joined by '+'.
            while (IsSymbol('+')) {
                Next();
                if (FToken != TToken::String) Error("String expected");
                Text += FString;
                Next();
            }
            FOutput.WriteString(Text);
            return;
        }
        case TToken::Integer: FOutput.WriteInteger(IntegerValue()); break;
        case TToken::Float: ConvertFloat(); break;
        case TToken::Identifier: FOutput.WriteIdent(AnsiToWide(FValue)); break;
        case TToken::Binary: FOutput.WriteBinary(FBinary.data(), FBinary.size()); break;
        case TToken::Symbol:
            if (IsSymbol('[')) return ConvertSet();
            if (IsSymbol('(')) return ConvertList();
            if (IsSymbol('<')) return ConvertCollection();
            Error("Invalid property value");
        case TToken::End: Error("Property value expected");
        }
        Next();
    }

    // Whether Value survives being stored as Type: an overflow would be written as infinity (or,
    // for currency, as an integer that cannot hold it), which no reader accepts.
    static bool FitsType(TValueType Type, long double Value) {
        const long double Magnitude = std::fabs(Value);
        switch (Type) {
        case vaSingle: return Magnitude <= std::numeric_limits<float>::max();
        case vaDate: return Magnitude <= std::numeric_limits<double>::max();
        // Currency is stored in ten-thousandths in 64 bits.
        case vaCurrency: return Magnitude * 10000 < 0x1p63L;
        default: return std::isfinite(Value);
        }
    }

    void ConvertFloat() {
        char Suffix = FValue.back();
        TValueType Type = Suffix == 's' ? vaSingle : Suffix == 'c' ? vaCurrency : Suffix == 'd' ? vaDate : vaExtended;
        std::string Number = Type == vaExtended ? FValue : FValue.substr(0, FValue.size() - 1);
        if (Type == vaCurrency && ConvertExactCurrency(Number)) return;
        char* End = nullptr;
        long double Value = std::strtold(Number.c_str(), &End);
        if (*End != '\0') Error("Invalid number " + FValue);
        if (!FitsType(Type, Value)) Error("Number out of range " + FValue);
        FOutput.WriteFloat(Type, Value);
    }

    // A currency amount written without an exponent, read digit by digit into ten-thousandths
    // (rounded half away from zero beyond the fourth decimal): a long double would lose the
    // last digit of the largest amounts. False for any other notation.
    bool ConvertExactCurrency(const std::string& Number) {
        const bool Signed = Number[0] == '-' || Number[0] == '+';
        const bool Negative = Number[0] == '-';
        if (Number.find_first_not_of("0123456789.", Signed ? 1 : 0) != std::string::npos ||
            Number.find_first_of("0123456789") == std::string::npos)
            return false;
        const std::uint64_t Max = (std::uint64_t{1} << 63) - (Negative ? 0 : 1);
        std::uint64_t Units = 0;
        auto Append = [&](unsigned Digit) {
            if (Units > (Max - Digit) / 10) Error("Number out of range " + FValue);
            Units = Units * 10 + Digit;
        };
        int Decimals = -1;
        bool RoundUp = false;
        for (std::size_t I = Signed ? 1 : 0; I < Number.size(); ++I) {
            if (Number[I] == '.') {
                if (Decimals >= 0) return false;
                Decimals = 0;
            } else if (Decimals < 4) {
                Append(static_cast<unsigned>(Number[I] - '0'));
                if (Decimals >= 0) ++Decimals;
            } else if (Decimals++ == 4) {
                RoundUp = Number[I] >= '5';
            }
        }
        for (int K = Decimals < 0 ? 0 : Decimals; K < 4; ++K) Append(0);
        if (RoundUp) {
            if (Units == Max) Error("Number out of range " + FValue);
            ++Units;
        }
        FOutput.WriteCurrencyUnits(static_cast<std::int64_t>(Negative ? 0 - Units : Units));
        return true;
    }

    void ConvertSet() {
        Next();
        FOutput.WriteValue(vaSet);
        while (!IsSymbol(']')) {
            FOutput.WriteShortString(ExpectIdentifier());
            if (IsSymbol(',')) Next();
            else if (!IsSymbol(']')) Error("',' or ']' expected");
        }
        FOutput.WriteShortString(L"");
        Next();
    }

    void ConvertList() {
        Nest();
        Next();
        FOutput.WriteValue(vaList);
        while (!IsSymbol(')')) ConvertValue();
        FOutput.WriteListEnd();
        Next();
        --FDepth;
    }

    void ConvertCollection() {
        Nest();
        Next();
        FOutput.WriteValue(vaCollection);
        while (!IsSymbol('>')) {
            if (!IsKeyword("item")) Error("'item' expected");
            Next();
            if (IsSymbol('[')) {
                Next();
                if (FToken != TToken::Integer) Error("Item index expected");
                FOutput.WriteInteger(IntegerValue());
                Next();
                Expect(']');
            }
            FOutput.WriteValue(vaList);
            while (!IsKeyword("end")) ConvertProperty();
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

void ObjectTextToBinary(TStream& Input, TStream& Output) {
    std::int64_t Size = Input.Remaining();
    if (Size > INT32_MAX) throw EReadError(L"Form text too large");
    std::string Text(static_cast<std::size_t>(Size), '\0');
    Input.ReadBuffer(Text.data(), Text.size());
    TTextParser(std::move(Text), Output).Convert();
}

} // namespace zn
