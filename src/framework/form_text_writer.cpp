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

    void Convert() {
        FInput.ReadSignature();
        ConvertObject(0);
    }

private:
    void Emit(const std::string& Text) { FOutput.WriteBuffer(Text.data(), Text.size()); }
    void Line(int Indent, const std::string& Text) { Emit(std::string(static_cast<size_t>(Indent), ' ') + Text + "\r\n"); }
    void Nest() {
        if (++FDepth > MaxFormNesting) throw EReadError(L"Form nested too deeply");
    }

    void ConvertObject(int Indent) {
        Nest();
        std::uint8_t Flags;
        std::int32_t Position;
        FInput.ReadPrefix(Flags, Position);
        std::string Header = Flags & ffInherited ? "inherited " : Flags & ffInline ? "inline " : "object ";
        std::string ClassName = Identifier(FInput.ReadShortString());
        std::string Name = FInput.ReadShortString();
        Header += Name.empty() ? ClassName : Identifier(Name) + ": " + ClassName;
        if (Flags & ffChildPos) Header += " [" + std::to_string(Position) + "]";
        Line(Indent, Header);
        ConvertProperties(Indent + 2);
        while (!FInput.EndOfList()) ConvertObject(Indent + 2);
        FInput.ReadListEnd();
        Line(Indent, "end");
        --FDepth;
    }

    void ConvertProperties(int Indent) {
        while (!FInput.EndOfList()) {
            std::string Name = Identifier(FInput.ReadShortString());
            Emit(std::string(static_cast<size_t>(Indent), ' ') + Name + " = ");
            ConvertValue(FInput.ReadValue(), Indent);
            Emit("\r\n");
        }
        FInput.ReadListEnd();
    }

    // Writes the value without the final line break; nested lines are indented below Indent.
    void ConvertValue(TValueType Type, int Indent) {
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
        case vaInt8: case vaInt16: case vaInt32: case vaInt64: Emit(std::to_string(FInput.ReadIntegerValue(Type))); return;
        case vaCurrency: Emit(CurrencyText(FInput.ReadCurrencyUnits()) + "c"); return;
        case vaExtended: case vaSingle: case vaDate: {
            long double Value = FInput.ReadFloatValue(Type);
            // The text form has no notation for these, and a number must survive the round trip.
            if (!std::isfinite(Value)) throw EReadError(L"A number in the form stream is not finite");
            std::string Number = ShortestNumber(Value, Type);
            if (Number.find_first_of(".e") == std::string::npos) Number += ".0";
            Emit(Number + (Type == vaSingle ? "s" : Type == vaCurrency ? "c" : Type == vaDate ? "d" : ""));
            return;
        }
        case vaString: case vaLString: case vaWString: case vaUTF8String: Emit(Quoted(FInput.ReadStringValue(Type))); return;
        case vaIdent: Emit(Identifier(FInput.ReadShortString())); return;
        case vaFalse: Emit("False"); return;
        case vaTrue: Emit("True"); return;
        case vaNil: Emit("nil"); return;
        case vaNull: throw EReadError(L"Value expected in the form stream");
        case vaBinary: ConvertBinary(Indent); return;
        case vaSet: {
            Emit("[");
            bool First = true;
            for (std::string Element; !(Element = FInput.ReadShortString()).empty(); First = false)
                Emit((First ? "" : ", ") + Identifier(Element));
            Emit("]");
            return;
        }
        case vaCollection: ConvertCollection(Indent); return;
        }
    }

    void ConvertBinary(int Indent) {
        TMemoryStream Data;
        FInput.ReadBinaryValue(Data);
        const auto* Bytes = static_cast<const unsigned char*>(Data.Memory());
        auto Size = static_cast<std::size_t>(Data.Size());
        Emit("{");
        for (std::size_t Start = 0; Start < Size; Start += BytesPerLine) {
            std::string Hex = "\r\n" + std::string(static_cast<size_t>(Indent + 2), ' ');
            for (std::size_t I = Start; I < Size && I < Start + BytesPerLine; ++I) {
                Hex += HexDigits[Bytes[I] >> 4];
                Hex += HexDigits[Bytes[I] & 15];
            }
            Emit(Hex);
        }
        Emit("}");
    }

    void ConvertCollection(int Indent) {
        Nest();
        Emit("<");
        while (!FInput.EndOfList()) {
            std::string Header = "item";
            TValueType Next = FInput.NextValue();
            if (Next == vaInt8 || Next == vaInt16 || Next == vaInt32)
                Header += " [" + std::to_string(FInput.ReadIntegerValue(FInput.ReadValue())) + "]";
            if (FInput.ReadValue() != vaList) throw EReadError(L"Collection item expected in the form stream");
            Emit("\r\n");
            Line(Indent + 2, Header);
            ConvertProperties(Indent + 4);
            Emit(std::string(static_cast<size_t>(Indent + 2), ' ') + "end");
        }
        FInput.ReadListEnd();
        Emit(">");
        --FDepth;
    }

    // Ten-thousandths as a decimal number with at least one and at most four decimals: exact,
    // so that the parser reads back the same amount however large.
    static std::string CurrencyText(std::int64_t Units) {
        std::uint64_t Magnitude = Units < 0 ? 0 - static_cast<std::uint64_t>(Units) : static_cast<std::uint64_t>(Units);
        std::string Decimals = std::to_string(Magnitude % 10000);
        Decimals.insert(0, 4 - Decimals.size(), '0');
        while (Decimals.size() > 1 && Decimals.back() == '0') Decimals.pop_back();
        return (Units < 0 ? "-" : "") + std::to_string(Magnitude / 10000) + "." + Decimals;
    }

    // The fewest digits that read back to the same value of the value's type.
    static std::string ShortestNumber(long double Value, TValueType Type) {
        auto Same = [&](long double Parsed) {
            switch (Type) {
            case vaSingle: return static_cast<float>(Parsed) == static_cast<float>(Value);
            case vaDate: return static_cast<double>(Parsed) == static_cast<double>(Value);
            default: return Parsed == Value;
            }
        };
        char Text[64];
        for (int Digits = 1; Digits <= 21; ++Digits) {
            std::snprintf(Text, sizeof Text, "%.*Lg", Digits, Value);
            if (Same(std::strtold(Text, nullptr))) break;
        }
        return Text;
    }

    // Names from the stream go out as they are only when the text reader can read them back.
    // Names and identifiers as the text parser reads them back: a letter or underscore first.
    static std::string Identifier(const std::string& Name) {
        bool Valid = !Name.empty() && !(Name[0] >= '0' && Name[0] <= '9') && Name[0] != '.';
        for (char C : Name)
            Valid = Valid && ((C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') || C == '_' || C == '.');
        if (!Valid) throw EReadError(L"Invalid identifier in the form stream");
        return Name;
    }

    static std::string Quoted(const std::wstring& Text) {
        if (Text.empty()) return "''";
        std::string Result;
        bool InQuotes = false;
        for (wchar_t C : Text) {
            bool Printable = C >= 32 && C < 127;
            if (Printable != InQuotes) {
                Result += '\'';
                InQuotes = Printable;
            }
            if (!Printable) Result += "#" + std::to_string(static_cast<unsigned>(C));
            else if (C == L'\'') Result += "''";
            else Result += static_cast<char>(C);
        }
        if (InQuotes) Result += '\'';
        return Result;
    }

    TFormInput FInput;
    TStream& FOutput;
    int FDepth = 0;
};

} // namespace

void ObjectBinaryToText(TStream& Input, TStream& Output) { TTextConverter(Input, Output).Convert(); }

} // namespace zn
