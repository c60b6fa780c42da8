// The byte format of binary forms ("TPF0"): typed values, little-endian, read with every
// length checked against the bytes the stream still holds before anything is allocated.
// TReader and TWriter walk components and properties on top of it, and the text form is
// converted to and from it.
#pragma once

#include "zintara/framework/streams.h"

#include <cstdint>
#include <string>

namespace zn {

enum TValueType : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
    vaUTF8String = 20,
};

// The flags of a component's optional prefix byte (0xF0 | flags).
inline constexpr std::uint8_t ffInherited = 0x01;
inline constexpr std::uint8_t ffChildPos = 0x02;
inline constexpr std::uint8_t ffInline = 0x04;

// Deeper nesting of components, lists and collections than this is taken as a damaged stream.
inline constexpr int MaxFormNesting = 200;

class TFormInput {
public:
    explicit TFormInput(TStream& Stream);

    // EReadError ("Invalid stream format") unless the stream starts with "TPF0".
    void ReadSignature();
    void ReadPrefix(std::uint8_t& Flags, std::int32_t& ChildPosition);
    // A length byte and that many 8-bit characters (names of classes, components, properties).
    std::string ReadShortString();

    // The next value type, consumed or not; an unknown tag raises EReadError.
    TValueType ReadValue();
    TValueType NextValue();
    // Whether the next byte ends a list. It is not checked as a value type: it may as well begin
    // a name or a component's prefix.
    bool EndOfList();
    void ReadListEnd();

    // The value after a tag that ReadValue returned; EReadError for a tag of another kind.
    std::int64_t ReadIntegerValue(TValueType Type);
    std::wstring ReadStringValue(TValueType Type);
    long double ReadFloatValue(TValueType Type);
    // The value after a vaCurrency tag as stored, in ten-thousandths: exact, where a long double
    // loses the last digit of the largest amounts.
    std::int64_t ReadCurrencyUnits();
    // The block of a vaBinary value, into Data (sized to fit).
    void ReadBinaryValue(TMemoryStream& Data);
    // A whole value of any type, nested ones included.
    void SkipValue();

    TStream& Stream() const { return FStream; }

private:
    void Read(void* Buffer, std::size_t Count);
    std::uint8_t ReadByte();
    std::int32_t ReadInt32();
    // A 32-bit length prefix, checked against what the stream holds for UnitSize-byte units.
    std::size_t ReadLength(std::size_t UnitSize);
    void SkipValue(TValueType Type, int Depth);

    TStream& FStream;
};

class TFormOutput {
public:
    explicit TFormOutput(TStream& Stream) : FStream(Stream) {}

    void WriteSignature();
    void WritePrefix(std::uint8_t Flags, std::int32_t ChildPosition);
    // Names are ASCII identifiers of at most 255 characters; others raise EWriteError.
    void WriteShortString(const std::wstring& Name);
    // The class name that opens a component, as a short string of fewer than 240 characters: a
    // length byte of 0xF0 or more would read as the component's prefix.
    void WriteClassName(const std::wstring& Name);
    void WriteValue(TValueType Type);
    void WriteListEnd() { WriteValue(vaNull); }

    // In the smallest of vaInt8, vaInt16, vaInt32, vaInt64 that holds the value.
    void WriteInteger(std::int64_t Value);
    // ASCII text as vaString (or vaLString beyond 255 characters), any other as vaWString.
    void WriteString(const std::wstring& Value);
    void WriteIdent(const std::wstring& Ident);
    void WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }
    void WriteFloat(TValueType Type, long double Value);
    // A vaCurrency value given in ten-thousandths.
    void WriteCurrencyUnits(std::int64_t Units);
    void WriteBinary(const void* Data, std::size_t Size);

    TStream& Stream() const { return FStream; }

private:
    void Write(const void* Buffer, std::size_t Count) { FStream.WriteBuffer(Buffer, Count); }
    void WriteInt32(std::int32_t Value);

    TStream& FStream;
};

} // namespace zn
