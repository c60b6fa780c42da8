// Binary form to text form: walks the typed values and prints each in its text notation.
#include "zintara/framework/exceptions.h"
#include "zintara/framework/form_binary.h"
#include "zintara/framework/form_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace zn {

namespace {

const char HexDigits[] = "0123456789ABCDEF";
constexpr std::size_t BytesPerLine = 32;

class TTextConverter {
public:
    TTextConverter(TStream& Input, TStream& Output) : FInput(Input), FOutput(Output) {}

    void Convert()
    {
        FInput.ReadSignature();
        ConvertObject(0);
    }

private:
    void Emit(const std::string& Text) { FOutput.WriteBuffer(Text.data(), Text.size()); }
    void Line(int Indent, const std::string& Text)
    {
        Emit(std::string(static_cast<size_t>(Indent), ' ') + Text + "\r\n");
    }
    void Nest()
    {
        if (++FDepth > MaxFormNesting)
            throw EReadError(L"Form nested too deeply");
    }

    void ConvertObject(int Indent)
    {
        Nest();
        std::uint8_t flags;
        std::int32_t position;
        FInput.ReadPrefix(flags, position);
        std::string header = flags & ffInherited ? "inherited "
                             : flags & ffInline  ? "inline "
                                                 : "object ";
        std::string class_name = Identifier(FInput.ReadShortString());
        std::string name = FInput.ReadShortString();
        header += name.empty() ? class_name : Identifier(name) + ": " + class_name;
        if (flags & ffChildPos)
            header += " [" + std::to_string(position) + "]";
        Line(Indent, header);
        ConvertProperties(Indent + 2);
        while (!FInput.EndOfList())
            ConvertObject(Indent + 2);
        FInput.ReadListEnd();
        Line(Indent, "end");
        --FDepth;
    }

    void ConvertProperties(int Indent)
    {
        while (!FInput.EndOfList()) {
            std::string name = Identifier(FInput.ReadShortString());
            Emit(std::string(static_cast<size_t>(Indent), ' ') + name + " = ");
            ConvertValue(FInput.ReadValue(), Indent);
            Emit("\r\n");
        }
        FInput.ReadListEnd();
    }

    // Writes the value without the final line break; nested lines are indented below Indent.
    void ConvertValue(TValueType Type, int Indent)
    {
        switch (Type) {
        case vaList:
            Nest();
            Emit("(");
            while (!FInput.EndOfList()) {
                Emit("\r\n" + std::string(static_cast<size_t>(Indent + 2), ' '));
                ConvertValue(FInput.ReadValue(), Indent + 2);
            }
            FInput.ReadListEnd();
            Emit(")");
            --FDepth;
            return;
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64: Emit(std::to_string(FInput.ReadIntegerValue(Type))); return;
        case vaCurrency: Emit(CurrencyText(FInput.ReadCurrencyUnits()) + "c"); return;
        case vaExtended:
        case vaSingle:
        case vaDate: {
            long double value = FInput.ReadFloatValue(Type);
            // The text form has no notation for these, and a number must survive the round trip.
            if (!std::isfinite(value))
                throw EReadError(L"A number in the form stream is not finite");
            std::string number = ShortestNumber(value, Type);
            if (number.find_first_of(".e") == std::string::npos)
                number += ".0";
            Emit(number + (Type == vaSingle     ? "s"
                           : Type == vaCurrency ? "c"
                           : Type == vaDate     ? "d"
                                                : ""));
            return;
        }
        case vaString:
        case vaLString:
        case vaWString:
        case vaUTF8String: Emit(Quoted(FInput.ReadStringValue(Type))); return;
        case vaIdent: Emit(Identifier(FInput.ReadShortString())); return;
        case vaFalse: Emit("False"); return;
        case vaTrue: Emit("True"); return;
        case vaNil: Emit("nil"); return;
        case vaNull: throw EReadError(L"Value expected in the form stream");
        case vaBinary: ConvertBinary(Indent); return;
        case vaSet: {
            Emit("[");
            bool first = true;
            for (std::string element; !(element = FInput.ReadShortString()).empty(); first = false)
                Emit((first ? "" : ", ") + Identifier(element));
            Emit("]");
            return;
        }
        case vaCollection: ConvertCollection(Indent); return;
        }
    }

    void ConvertBinary(int Indent)
    {
        TMemoryStream data;
        FInput.ReadBinaryValue(data);
        const auto* bytes = static_cast<const unsigned char*>(data.Memory());
        auto size = static_cast<std::size_t>(data.Size());
        Emit("{");
        for (std::size_t start = 0; start < size; start += BytesPerLine) {
            std::string hex = "\r\n" + std::string(static_cast<size_t>(Indent + 2), ' ');
            for (std::size_t i = start; i < size && i < start + BytesPerLine; ++i) {
                hex += HexDigits[bytes[i] >> 4];
                hex += HexDigits[bytes[i] & 15];
            }
            Emit(hex);
        }
        Emit("}");
    }

    void ConvertCollection(int Indent)
    {
        Nest();
        Emit("<");
        while (!FInput.EndOfList()) {
            std::string header = "item";
            TValueType next = FInput.NextValue();
            if (next == vaInt8 || next == vaInt16 || next == vaInt32)
                header += " [" + std::to_string(FInput.ReadIntegerValue(FInput.ReadValue())) + "]";
            if (FInput.ReadValue() != vaList)
                throw EReadError(L"Collection item expected in the form stream");
            Emit("\r\n");
            Line(Indent + 2, header);
            ConvertProperties(Indent + 4);
            Emit(std::string(static_cast<size_t>(Indent + 2), ' ') + "end");
        }
        FInput.ReadListEnd();
        Emit(">");
        --FDepth;
    }

    // Ten-thousandths as a decimal number with at least one and at most four decimals: exact,
    // so that the parser reads back the same amount however large.
    static std::string CurrencyText(std::int64_t Units)
    {
        std::uint64_t magnitude =
            Units < 0 ? 0 - static_cast<std::uint64_t>(Units) : static_cast<std::uint64_t>(Units);
        std::string decimals = std::to_string(magnitude % 10000);
        decimals.insert(0, 4 - decimals.size(), '0');
        while (decimals.size() > 1 && decimals.back() == '0')
            decimals.pop_back();
        return (Units < 0 ? "-" : "") + std::to_string(magnitude / 10000) + "." + decimals;
    }

    // The fewest digits that read back to the same value of the value's type.
    static std::string ShortestNumber(long double Value, TValueType Type)
    {
        auto same = [&](long double Parsed) {
            switch (Type) {
            case vaSingle: return static_cast<float>(Parsed) == static_cast<float>(Value);
            case vaDate: return static_cast<double>(Parsed) == static_cast<double>(Value);
            default: return Parsed == Value;
            }
        };
        char text[64];
        for (int digits = 1; digits <= 21; ++digits) {
            std::snprintf(text, sizeof text, "%.*Lg", digits, Value);
            if (same(std::strtold(text, nullptr)))
                break;
        }
        return text;
    }

    // Names from the stream go out as they are only when the text reader can read them back.
    // Names and identifiers as the text parser reads them back: a letter or underscore first.
    static std::string Identifier(const std::string& Name)
    {
        bool valid = !Name.empty() && !(Name[0] >= '0' && Name[0] <= '9') && Name[0] != '.';
        for (char c : Name)
            valid = valid && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                              (c >= '0' && c <= '9') || c == '_' || c == '.');
        if (!valid)
            throw EReadError(L"Invalid identifier in the form stream");
        return Name;
    }

    static std::string Quoted(const std::wstring& Text)
    {
        if (Text.empty())
            return "''";
        std::string result;
        bool in_quotes = false;
        for (wchar_t c : Text) {
            bool printable = c >= 32 && c < 127;
            if (printable != in_quotes) {
                result += '\'';
                in_quotes = printable;
            }
            if (!printable)
                result += "#" + std::to_string(static_cast<unsigned>(c));
            else if (c == L'\'')
                result += "''";
            else
                result += static_cast<char>(c);
        }
        if (in_quotes)
            result += '\'';
        return result;
    }

    TFormInput FInput;
    TStream& FOutput;
    int FDepth = 0;
};

} // namespace

void ObjectBinaryToText(TStream& Input, TStream& Output)
{
    TTextConverter(Input, Output).Convert();
}

} // namespace zn
