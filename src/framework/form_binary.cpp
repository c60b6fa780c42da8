// Reading and writing the typed values of binary forms.
#include "zintara/framework/form_binary.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/text.h"

#include <bit>
#include <cstring>
#include <limits>
#include <vector>

namespace zn {

static_assert(std::numeric_limits<long double>::digits == 64,
              "vaExtended needs the 80-bit x87 format");

namespace {

[[noreturn]] void Invalid(TStream& Stream, const std::wstring& What)
{
    throw EReadError(What + L" at offset " + std::to_wstring(Stream.Position()) +
                     L" of the form stream");
}

std::uint64_t LittleEndian(const unsigned char* Bytes, int Count)
{
    std::uint64_t value = 0;
    for (int i = Count - 1; i >= 0; --i)
        value = (value << 8) | Bytes[i];
    return value;
}

void ToLittleEndian(std::uint64_t Value, unsigned char* Bytes, int Count)
{
    for (int i = 0; i < Count; ++i)
        Bytes[i] = static_cast<unsigned char>(Value >> (8 * i));
}

bool IsAscii(const std::wstring& Text)
{
    for (wchar_t c : Text)
        if (c > 127)
            return false;
    return true;
}

} // namespace

TFormInput::TFormInput(TStream& Stream) : FStream(Stream) {}

void TFormInput::Read(void* Buffer, std::size_t Count)
{
    if (Count != 0 && FStream.Read(Buffer, Count) != Count)
        Invalid(FStream, L"Stream read error: the form ends early");
}

std::uint8_t TFormInput::ReadByte()
{
    std::uint8_t value;
    Read(&value, 1);
    return value;
}

std::int32_t TFormInput::ReadInt32()
{
    unsigned char bytes[4];
    Read(bytes, 4);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(LittleEndian(bytes, 4)));
}

std::size_t TFormInput::ReadLength(std::size_t UnitSize)
{
    std::int32_t length = ReadInt32();
    if (length < 0)
        Invalid(FStream, L"Negative length " + std::to_wstring(length));
    if (static_cast<std::uint64_t>(length) * UnitSize >
        static_cast<std::uint64_t>(FStream.Remaining()))
        Invalid(FStream, L"Length " + std::to_wstring(length) + L" beyond the end");
    return static_cast<std::size_t>(length);
}

void TFormInput::ReadSignature()
{
    char signature[4];
    if (FStream.Read(signature, 4) != 4 || std::memcmp(signature, "TPF0", 4) != 0)
        throw EReadError(L"Invalid stream format: not a binary form");
}

void TFormInput::ReadPrefix(std::uint8_t& Flags, std::int32_t& ChildPosition)
{
    Flags = 0;
    ChildPosition = 0;
    std::uint8_t next;
    if (FStream.Read(&next, 1) != 1)
        Invalid(FStream, L"Stream read error: the form ends early");
    if ((next & 0xF0) != 0xF0) {
        FStream.Seek(-1, TSeekOrigin::soCurrent);
        return;
    }
    Flags = next & 0x0F;
    if (Flags & ffChildPos) {
        std::int64_t position = ReadIntegerValue(ReadValue());
        if (position < INT32_MIN || position > INT32_MAX)
            Invalid(FStream, L"Invalid child position");
        ChildPosition = static_cast<std::int32_t>(position);
    }
}

std::string TFormInput::ReadShortString()
{
    std::size_t length = ReadByte();
    std::string result(length, '\0');
    Read(result.data(), length);
    return result;
}

TValueType TFormInput::ReadValue()
{
    std::uint8_t type = ReadByte();
    if (type > vaUTF8String) {
        FStream.Seek(-1, TSeekOrigin::soCurrent);
        Invalid(FStream, L"Invalid value type " + std::to_wstring(type));
    }
    return static_cast<TValueType>(type);
}

TValueType TFormInput::NextValue()
{
    TValueType type = ReadValue();
    FStream.Seek(-1, TSeekOrigin::soCurrent);
    return type;
}

bool TFormInput::EndOfList()
{
    std::uint8_t next = ReadByte();
    FStream.Seek(-1, TSeekOrigin::soCurrent);
    return next == vaNull;
}

void TFormInput::ReadListEnd()
{
    if (ReadValue() != vaNull) {
        FStream.Seek(-1, TSeekOrigin::soCurrent);
        Invalid(FStream, L"End of list expected");
    }
}

std::int64_t TFormInput::ReadIntegerValue(TValueType Type)
{
    unsigned char bytes[8];
    switch (Type) {
    case vaInt8: Read(bytes, 1); return static_cast<std::int8_t>(bytes[0]);
    case vaInt16: Read(bytes, 2); return static_cast<std::int16_t>(LittleEndian(bytes, 2));
    case vaInt32: Read(bytes, 4); return static_cast<std::int32_t>(LittleEndian(bytes, 4));
    case vaInt64: Read(bytes, 8); return static_cast<std::int64_t>(LittleEndian(bytes, 8));
    default: Invalid(FStream, L"Integer value expected");
    }
}

std::wstring TFormInput::ReadStringValue(TValueType Type)
{
    switch (Type) {
    case vaString: {
        std::string text = ReadShortString();
        return AnsiToWide(text);
    }
    case vaLString:
    case vaUTF8String: {
        std::string text(ReadLength(1), '\0');
        Read(text.data(), text.size());
        return Type == vaLString ? AnsiToWide(text) : Utf8ToWide(text);
    }
    case vaWString: {
        std::size_t count = ReadLength(2);
        std::vector<unsigned char> bytes(count * 2);
        Read(bytes.data(), bytes.size());
        std::wstring text(count, L'\0');
        for (std::size_t i = 0; i < count; ++i)
            text[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        return text;
    }
    default: Invalid(FStream, L"String value expected");
    }
}

long double TFormInput::ReadFloatValue(TValueType Type)
{
    unsigned char bytes[10];
    switch (Type) {
    case vaExtended: {
        Read(bytes, 10);
        // The integer bit is explicit in this format and set exactly when the exponent is not
        // zero. The other encodings (unnormals, pseudo-denormals) no writer produces, and they
        // do not convert to text and back as the same bytes.
        const bool integer_bit = (bytes[7] & 0x80) != 0;
        const bool zero_exponent = bytes[8] == 0 && (bytes[9] & 0x7F) == 0;
        if (integer_bit == zero_exponent) {
            FStream.Seek(-10, TSeekOrigin::soCurrent);
            Invalid(FStream, L"Invalid extended number");
        }
        long double value = 0;
        std::memcpy(&value, bytes, 10);
        return value;
    }
    case vaSingle:
        Read(bytes, 4);
        return std::bit_cast<float>(static_cast<std::uint32_t>(LittleEndian(bytes, 4)));
    case vaDate: Read(bytes, 8); return std::bit_cast<double>(LittleEndian(bytes, 8));
    case vaCurrency: return static_cast<long double>(ReadCurrencyUnits()) / 10000;
    default:
        if (Type == vaInt8 || Type == vaInt16 || Type == vaInt32 || Type == vaInt64)
            return static_cast<long double>(ReadIntegerValue(Type));
        Invalid(FStream, L"Floating-point value expected");
    }
}

std::int64_t TFormInput::ReadCurrencyUnits()
{
    unsigned char bytes[8];
    Read(bytes, 8);
    return static_cast<std::int64_t>(LittleEndian(bytes, 8));
}

void TFormInput::ReadBinaryValue(TMemoryStream& Data)
{
    std::size_t size = ReadLength(1);
    Data.SetSize(static_cast<std::int64_t>(size));
    Read(Data.Memory(), size);
    Data.SetPosition(0);
}

void TFormInput::SkipValue()
{
    SkipValue(ReadValue(), 0);
}

void TFormInput::SkipValue(TValueType Type, int Depth)
{
    if (Depth > MaxFormNesting)
        Invalid(FStream, L"Values nested too deeply");
    switch (Type) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: return;
    case vaList:
        while (!EndOfList())
            SkipValue(ReadValue(), Depth + 1);
        ReadListEnd();
        return;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64: ReadIntegerValue(Type); return;
    case vaExtended:
    case vaSingle:
    case vaCurrency:
    case vaDate: ReadFloatValue(Type); return;
    case vaString:
    case vaIdent: ReadShortString(); return;
    case vaLString:
    case vaUTF8String:
    case vaBinary:
        FStream.Seek(static_cast<std::int64_t>(ReadLength(1)), TSeekOrigin::soCurrent);
        return;
    case vaWString:
        FStream.Seek(static_cast<std::int64_t>(ReadLength(2)) * 2, TSeekOrigin::soCurrent);
        return;
    case vaSet:
        while (!ReadShortString().empty()) {
        }
        return;
    case vaCollection:
        while (!EndOfList()) {
            TValueType next = NextValue();
            if (next == vaInt8 || next == vaInt16 || next == vaInt32)
                ReadIntegerValue(ReadValue());
            if (ReadValue() != vaList)
                Invalid(FStream, L"Collection item expected");
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

void TFormOutput::WriteSignature()
{
    Write("TPF0", 4);
}

void TFormOutput::WritePrefix(std::uint8_t Flags, std::int32_t ChildPosition)
{
    if (Flags == 0)
        return;
    std::uint8_t prefix = 0xF0 | (Flags & 0x0F);
    Write(&prefix, 1);
    if (Flags & ffChildPos)
        WriteInteger(ChildPosition);
}

void TFormOutput::WriteShortString(const std::wstring& Name)
{
    if (Name.size() > 255 || !IsAscii(Name))
        throw EWriteError(L"Cannot store the name '" + Name + L"' in a form");
    std::uint8_t length = static_cast<std::uint8_t>(Name.size());
    Write(&length, 1);
    std::string narrow(Name.begin(), Name.end());
    Write(narrow.data(), narrow.size());
}

void TFormOutput::WriteClassName(const std::wstring& Name)
{
    if (Name.size() >= 0xF0)
        throw EWriteError(L"Cannot store the class name '" + Name + L"' in a form");
    WriteShortString(Name);
}

void TFormOutput::WriteValue(TValueType Type)
{
    Write(&Type, 1);
}

void TFormOutput::WriteInt32(std::int32_t Value)
{
    unsigned char bytes[4];
    ToLittleEndian(static_cast<std::uint32_t>(Value), bytes, 4);
    Write(bytes, 4);
}

void TFormOutput::WriteInteger(std::int64_t Value)
{
    unsigned char bytes[9];
    int count;
    if (Value >= INT8_MIN && Value <= INT8_MAX) {
        bytes[0] = vaInt8;
        count = 1;
    } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
        bytes[0] = vaInt16;
        count = 2;
    } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
        bytes[0] = vaInt32;
        count = 4;
    } else {
        bytes[0] = vaInt64;
        count = 8;
    }
    ToLittleEndian(static_cast<std::uint64_t>(Value), bytes + 1, count);
    Write(bytes, static_cast<std::size_t>(count) + 1);
}

void TFormOutput::WriteString(const std::wstring& Value)
{
    if (Value.size() > INT32_MAX / 2)
        throw EWriteError(L"String too long for a form");
    if (IsAscii(Value)) {
        std::string narrow(Value.begin(), Value.end());
        if (narrow.size() <= 255) {
            WriteValue(vaString);
            std::uint8_t length = static_cast<std::uint8_t>(narrow.size());
            Write(&length, 1);
        } else {
            WriteValue(vaLString);
            WriteInt32(static_cast<std::int32_t>(narrow.size()));
        }
        Write(narrow.data(), narrow.size());
        return;
    }
    WriteValue(vaWString);
    WriteInt32(static_cast<std::int32_t>(Value.size()));
    std::vector<unsigned char> bytes(Value.size() * 2);
    for (std::size_t i = 0; i < Value.size(); ++i)
        ToLittleEndian(static_cast<std::uint16_t>(Value[i]), &bytes[2 * i], 2);
    Write(bytes.data(), bytes.size());
}

void TFormOutput::WriteIdent(const std::wstring& Ident)
{
    if (Ident == L"False" || Ident == L"True" || Ident == L"nil") {
        WriteValue(Ident == L"False" ? vaFalse : Ident == L"True" ? vaTrue : vaNil);
        return;
    }
    WriteValue(vaIdent);
    WriteShortString(Ident);
}

void TFormOutput::WriteFloat(TValueType Type, long double Value)
{
    unsigned char bytes[10] = {};
    if (Type == vaCurrency) {
        long double scaled = Value * 10000;
        return WriteCurrencyUnits(
            static_cast<std::int64_t>(scaled < 0 ? scaled - 0.5L : scaled + 0.5L));
    }
    if (Type != vaExtended && Type != vaSingle && Type != vaDate)
        throw EWriteError(L"Not a floating-point value type");
    WriteValue(Type);
    switch (Type) {
    case vaExtended:
        std::memcpy(bytes, &Value, 10);
        Write(bytes, 10);
        return;
    case vaSingle:
        ToLittleEndian(std::bit_cast<std::uint32_t>(static_cast<float>(Value)), bytes, 4);
        Write(bytes, 4);
        return;
    case vaDate:
        ToLittleEndian(std::bit_cast<std::uint64_t>(static_cast<double>(Value)), bytes, 8);
        Write(bytes, 8);
        return;
    default: return;
    }
}

void TFormOutput::WriteCurrencyUnits(std::int64_t Units)
{
    unsigned char bytes[8];
    WriteValue(vaCurrency);
    ToLittleEndian(static_cast<std::uint64_t>(Units), bytes, 8);
    Write(bytes, 8);
}

void TFormOutput::WriteBinary(const void* Data, std::size_t Size)
{
    if (Size > INT32_MAX)
        throw EWriteError(L"Binary property too large for a form");
    WriteValue(vaBinary);
    WriteInt32(static_cast<std::int32_t>(Size));
    Write(Data, Size);
}

} // namespace zn
