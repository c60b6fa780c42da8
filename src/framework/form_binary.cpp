// Reading and writing the typed values of binary forms.
#include "zintara/framework/form_binary.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/text.h"

#include <bit>
#include <cstring>
#include <limits>
#include <vector>

namespace zn {

static_assert(std::numeric_limits<long double>::digits == 64, "vaExtended needs the 80-bit x87 format");

namespace {

[[noreturn]] void Invalid(TStream& Stream, const std::wstring& What) {
    throw EReadError(What + L" at offset " + std::to_wstring(Stream.Position()) + L" of the form stream");
}

std::uint64_t LittleEndian(const unsigned char* Bytes, int Count) {
    std::uint64_t Value = 0;
    for (int I = Count - 1; I >= 0; --I) Value = (Value << 8) | Bytes[I];
    return Value;
}

void ToLittleEndian(std::uint64_t Value, unsigned char* Bytes, int Count) {
    for (int I = 0; I < Count; ++I) Bytes[I] = static_cast<unsigned char>(Value >> (8 * I));
}

bool IsAscii(const std::wstring& Text) {
    for (wchar_t C : Text)
        if (C > 127) return false;
    return true;
}

} // namespace

TFormInput::TFormInput(TStream& Stream) : FStream(Stream) {}

void TFormInput::Read(void* Buffer, std::size_t Count) {
    if (Count != 0 && FStream.Read(Buffer, Count) != Count) Invalid(FStream, L"Stream read error: the form ends early");
}

std::uint8_t TFormInput::ReadByte() {
    std::uint8_t Value;
    Read(&Value, 1);
    return Value;
}

std::int32_t TFormInput::ReadInt32() {
    unsigned char Bytes[4];
    Read(Bytes, 4);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(LittleEndian(Bytes, 4)));
}

std::size_t TFormInput::ReadLength(std::size_t UnitSize) {
    std::int32_t Length = ReadInt32();
    if (Length < 0) Invalid(FStream, L"Negative length " + std::to_wstring(Length));
    if (static_cast<std::uint64_t>(Length) * UnitSize > static_cast<std::uint64_t>(FStream.Remaining()))
        Invalid(FStream, L"Length " + std::to_wstring(Length) + L" beyond the end");
    return static_cast<std::size_t>(Length);
}

void TFormInput::ReadSignature() {
    char Signature[4];
    if (FStream.Read(Signature, 4) != 4 || std::memcmp(Signature, "TPF0", 4) != 0)
        throw EReadError(L"Invalid stream format: not a binary form");
}

void TFormInput::ReadPrefix(std::uint8_t& Flags, std::int32_t& ChildPosition) {
    Flags = 0;
    ChildPosition = 0;
    std::uint8_t Next;
    if (FStream.Read(&Next, 1) != 1) Invalid(FStream, L"Stream read error: the form ends early");
    if ((Next & 0xF0) != 0xF0) {
        FStream.Seek(-1, TSeekOrigin::soCurrent);
        return;
    }
    Flags = Next & 0x0F;
    if (Flags & ffChildPos) {
        std::int64_t Position = ReadIntegerValue(ReadValue());
        if (Position < INT32_MIN || Position > INT32_MAX) Invalid(FStream, L"Invalid child position");
        ChildPosition = static_cast<std::int32_t>(Position);
    }
}

std::string TFormInput::ReadShortString() {
    std::size_t Length = ReadByte();
    std::string Result(Length, '\0');
    Read(Result.data(), Length);
    return Result;
}

TValueType TFormInput::ReadValue() {
    std::uint8_t Type = ReadByte();
    if (Type > vaUTF8String) {
        FStream.Seek(-1, TSeekOrigin::soCurrent);
        Invalid(FStream, L"Invalid value type " + std::to_wstring(Type));
    }
    return static_cast<TValueType>(Type);
}

TValueType TFormInput::NextValue() {
    TValueType Type = ReadValue();
    FStream.Seek(-1, TSeekOrigin::soCurrent);
    return Type;
}

bool TFormInput::EndOfList() {
    std::uint8_t Next = ReadByte();
    FStream.Seek(-1, TSeekOrigin::soCurrent);
    return Next == vaNull;
}

void TFormInput::ReadListEnd() {
    if (ReadValue() != vaNull) {
        FStream.Seek(-1, TSeekOrigin::soCurrent);
        Invalid(FStream, L"End of list expected");
    }
}

std::int64_t TFormInput::ReadIntegerValue(TValueType Type) {
    unsigned char Bytes[8];
    switch (Type) {
    case vaInt8: Read(Bytes, 1); return static_cast<std::int8_t>(Bytes[0]);
    case vaInt16: Read(Bytes, 2); return static_cast<std::int16_t>(LittleEndian(Bytes, 2));
    case vaInt32: Read(Bytes, 4); return static_cast<std::int32_t>(LittleEndian(Bytes, 4));
    case vaInt64: Read(Bytes, 8); return static_cast<std::int64_t>(LittleEndian(Bytes, 8));
    default: Invalid(FStream, L"Integer value expected");
    }
}

std::wstring TFormInput::ReadStringValue(TValueType Type) {
    switch (Type) {
    case vaString: {
        std::string Text = ReadShortString();
        return AnsiToWide(Text);
    }
    case vaLString:
    case vaUTF8String: {
        std::string Text(ReadLength(1), '\0');
        Read(Text.data(), Text.size());
        return Type == vaLString ? AnsiToWide(Text) : Utf8ToWide(Text);
    }
    case vaWString: {
        std::size_t Count = ReadLength(2);
        std::vector<unsigned char> Bytes(Count * 2);
        Read(Bytes.data(), Bytes.size());
        std::wstring Text(Count, L'\0');
        for (std::size_t I = 0; I < Count; ++I)
            Text[I] = static_cast<wchar_t>(Bytes[2 * I] | (Bytes[2 * I + 1] << 8));
        return Text;
    }
    default: Invalid(FStream, L"String value expected");
    }
}

long double TFormInput::ReadFloatValue(TValueType Type) {
    unsigned char Bytes[10];
    switch (Type) {
    case vaExtended: {
        Read(Bytes, 10);
        // The integer bit is explicit in this format and set exactly when the exponent is not
        // zero. The other encodings (unnormals, pseudo-denormals) no writer produces, and they
        // do not convert to text and back as the same bytes.
        const bool IntegerBit = (Bytes[7] & 0x80) != 0;
        const bool ZeroExponent = Bytes[8] == 0 && (Bytes[9] & 0x7F) == 0;
        if (IntegerBit == ZeroExponent) {
            FStream.Seek(-10, TSeekOrigin::soCurrent);
            Invalid(FStream, L"Invalid extended number");
        }
        long double Value = 0;
        std::memcpy(&Value, Bytes, 10);
        return Value;
    }
    case vaSingle:
        Read(Bytes, 4);
        return std::bit_cast<float>(static_cast<std::uint32_t>(LittleEndian(Bytes, 4)));
    case vaDate:
        Read(Bytes, 8);
        return std::bit_cast<double>(LittleEndian(Bytes, 8));
    case vaCurrency: return static_cast<long double>(ReadCurrencyUnits()) / 10000;
    default:
        if (Type == vaInt8 || Type == vaInt16 || Type == vaInt32 || Type == vaInt64)
            return static_cast<long double>(ReadIntegerValue(Type));
        Invalid(FStream, L"Floating-point value expected");
    }
}

std::int64_t TFormInput::ReadCurrencyUnits() {
    unsigned char Bytes[8];
    Read(Bytes, 8);
    return static_cast<std::int64_t>(LittleEndian(Bytes, 8));
}

void TFormInput::ReadBinaryValue(TMemoryStream& Data) {
    std::size_t Size = ReadLength(1);
    Data.SetSize(static_cast<std::int64_t>(Size));
    Read(Data.Memory(), Size);
    Data.SetPosition(0);
}

void TFormInput::SkipValue() { SkipValue(ReadValue(), 0); }

void TFormInput::SkipValue(TValueType Type, int Depth) {
    if (Depth > MaxFormNesting) Invalid(FStream, L"Values nested too deeply");
    switch (Type) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: return;
    case vaList:
        while (!EndOfList()) SkipValue(ReadValue(), Depth + 1);
        ReadListEnd();
        return;
    case vaInt8: case vaInt16: case vaInt32: case vaInt64: ReadIntegerValue(Type); return;
    case vaExtended: case vaSingle: case vaCurrency: case vaDate: ReadFloatValue(Type); return;
    case vaString:
    case vaIdent: ReadShortString(); return;
    case vaLString:
    case vaUTF8String:
    case vaBinary: FStream.Seek(static_cast<std::int64_t>(ReadLength(1)), TSeekOrigin::soCurrent); return;
    case vaWString: FStream.Seek(static_cast<std::int64_t>(ReadLength(2)) * 2, TSeekOrigin::soCurrent); return;
    case vaSet:
        while (!ReadShortString().empty()) {}
        return;
    case vaCollection:
        while (!EndOfList()) {
            TValueType Next = NextValue();
            if (Next == vaInt8 || Next == vaInt16 || Next == vaInt32) ReadIntegerValue(ReadValue());
            if (ReadValue() != vaList) Invalid(FStream, L"Collection item expected");
            while (!EndOfList()) {
                ReadShortString();
                SkipValue(ReadValue(), Depth + 1);
            }
            ReadListEnd();
        }
        ReadListEnd();
        return;
    }
}

void TFormOutput::WriteSignature() { Write("TPF0", 4); }

void TFormOutput::WritePrefix(std::uint8_t Flags, std::int32_t ChildPosition) {
    if (Flags == 0) return;
    std::uint8_t Prefix = 0xF0 | (Flags & 0x0F);
    Write(&Prefix, 1);
    if (Flags & ffChildPos) WriteInteger(ChildPosition);
}

void TFormOutput::WriteShortString(const std::wstring& Name) {
    if (Name.size() > 255 || !IsAscii(Name)) throw EWriteError(L"Cannot store the name '" + Name + L"' in a form");
    std::uint8_t Length = static_cast<std::uint8_t>(Name.size());
    Write(&Length, 1);
    std::string Narrow(Name.begin(), Name.end());
    Write(Narrow.data(), Narrow.size());
}

void TFormOutput::WriteClassName(const std::wstring& Name) {
    if (Name.size() >= 0xF0) throw EWriteError(L"Cannot store the class name '" + Name + L"' in a form");
    WriteShortString(Name);
}

void TFormOutput::WriteValue(TValueType Type) { Write(&Type, 1); }

void TFormOutput::WriteInt32(std::int32_t Value) {
    unsigned char Bytes[4];
    ToLittleEndian(static_cast<std::uint32_t>(Value), Bytes, 4);
    Write(Bytes, 4);
}

void TFormOutput::WriteInteger(std::int64_t Value) {
    unsigned char Bytes[9];
    int Count;
    if (Value >= INT8_MIN && Value <= INT8_MAX) {
        Bytes[0] = vaInt8;
        Count = 1;
    } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
        Bytes[0] = vaInt16;
        Count = 2;
    } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
        Bytes[0] = vaInt32;
        Count = 4;
    } else {
        Bytes[0] = vaInt64;
        Count = 8;
    }
    ToLittleEndian(static_cast<std::uint64_t>(Value), Bytes + 1, Count);
    Write(Bytes, static_cast<std::size_t>(Count) + 1);
}

void TFormOutput::WriteString(const std::wstring& Value) {
    if (Value.size() > INT32_MAX / 2) throw EWriteError(L"String too long for a form");
    if (IsAscii(Value)) {
        std::string Narrow(Value.begin(), Value.end());
        if (Narrow.size() <= 255) {
            WriteValue(vaString);
            std::uint8_t Length = static_cast<std::uint8_t>(Narrow.size());
            Write(&Length, 1);
        } else {
            WriteValue(vaLString);
            WriteInt32(static_cast<std::int32_t>(Narrow.size()));
        }
        Write(Narrow.data(), Narrow.size());
        return;
    }
    WriteValue(vaWString);
    WriteInt32(static_cast<std::int32_t>(Value.size()));
    std::vector<unsigned char> Bytes(Value.size() * 2);
    for (std::size_t I = 0; I < Value.size(); ++I) ToLittleEndian(static_cast<std::uint16_t>(Value[I]), &Bytes[2 * I], 2);
    Write(Bytes.data(), Bytes.size());
}

void TFormOutput::WriteIdent(const std::wstring& Ident) {
    if (Ident == L"False" || Ident == L"True" || Ident == L"nil") {
        WriteValue(Ident == L"False" ? vaFalse : Ident == L"True" ? vaTrue : vaNil);
        return;
    }
    WriteValue(vaIdent);
    WriteShortString(Ident);
}

void TFormOutput::WriteFloat(TValueType Type, long double Value) {
    unsigned char Bytes[10] = {};
    if (Type == vaCurrency) {
        long double Scaled = Value * 10000;
        return WriteCurrencyUnits(static_cast<std::int64_t>(Scaled < 0 ? Scaled - 0.5L : Scaled + 0.5L));
    }
    if (Type != vaExtended && Type != vaSingle && Type != vaDate)
        throw EWriteError(L"Not a floating-point value type");
    WriteValue(Type);
    switch (Type) {
    case vaExtended: std::memcpy(Bytes, &Value, 10); Write(Bytes, 10); return;
    case vaSingle: ToLittleEndian(std::bit_cast<std::uint32_t>(static_cast<float>(Value)), Bytes, 4); Write(Bytes, 4); return;
    case vaDate: ToLittleEndian(std::bit_cast<std::uint64_t>(static_cast<double>(Value)), Bytes, 8); Write(Bytes, 8); return;
    default: return;
    }
}

void TFormOutput::WriteCurrencyUnits(std::int64_t Units) {
    unsigned char Bytes[8];
    WriteValue(vaCurrency);
    ToLittleEndian(static_cast<std::uint64_t>(Units), Bytes, 8);
    Write(Bytes, 8);
}

void TFormOutput::WriteBinary(const void* Data, std::size_t Size) {
    if (Size > INT32_MAX) throw EWriteError(L"Binary property too large for a form");
    WriteValue(vaBinary);
    WriteInt32(static_cast<std::int32_t>(Size));
    Write(Data, Size);
}

} // namespace zn
