// The "FlashStream" block: an embedded file's name and bytes inside its binary property.
#include "zintara/core/flash_list.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/text.h"

#include <cstdint>
#include <limits>

namespace zn {

namespace {

void WriteInt32(TStream& Stream, std::int32_t Value) {
    auto Bits = static_cast<std::uint32_t>(Value);
    unsigned char Bytes[4] = {static_cast<unsigned char>(Bits), static_cast<unsigned char>(Bits >> 8),
                              static_cast<unsigned char>(Bits >> 16), static_cast<unsigned char>(Bits >> 24)};
    Stream.WriteBuffer(Bytes, sizeof Bytes);
}

std::int32_t ReadInt32(TStream& Stream) {
    unsigned char Bytes[4];
    Stream.ReadBuffer(Bytes, sizeof Bytes);
    return static_cast<std::int32_t>(std::uint32_t{Bytes[0]} | std::uint32_t{Bytes[1]} << 8 |
                                     std::uint32_t{Bytes[2]} << 16 | std::uint32_t{Bytes[3]} << 24);
}

// A length field, in units of UnitSize bytes, that the rest of the stream can actually hold.
std::size_t ReadLength(TStream& Stream, std::int64_t UnitSize, const wchar_t* What) {
    std::int64_t Length = ReadInt32(Stream);
    std::int64_t Left = Stream.Remaining();
    if (Length < 0 || Length * UnitSize > Left)
        throw EReadError(L"Invalid embedded file: " + std::wstring(What) + L" of " + std::to_wstring(Length) +
                         (UnitSize == 1 ? L" bytes" : L" characters") + L" with " + std::to_wstring(Left) +
                         L" bytes left in the stream");
    return static_cast<std::size_t>(Length);
}

std::wstring ReadWideName(TStream& Stream) {
    std::string Bytes(ReadLength(Stream, 2, L"a name") * 2, '\0');
    Stream.ReadBuffer(Bytes.data(), Bytes.size());
    std::wstring Name(Bytes.size() / 2, L'\0');
    for (std::size_t I = 0; I < Name.size(); ++I)
        Name[I] = static_cast<wchar_t>(static_cast<unsigned char>(Bytes[2 * I]) |
                                       static_cast<unsigned char>(Bytes[2 * I + 1]) << 8);
    return Name;
}

std::wstring ReadAnsiName(TStream& Stream) {
    std::string Name(ReadLength(Stream, 1, L"a name"), '\0');
    Stream.ReadBuffer(Name.data(), Name.size());
    return AnsiToWide(Name);
}

} // namespace

void WriteFlashBlock(TStream& Stream, const std::wstring& Name, TCustomMemoryStream& Data) {
    constexpr auto Limit = std::numeric_limits<std::int32_t>::max();
    if (Data.Size() == 0) {
        Stream.WriteBuffer(&FlashBlockEmpty, 1);
        return;
    }
    if (Name.size() > static_cast<std::size_t>(Limit) || Data.Size() > Limit)
        throw EWriteError(L"Embedded file too large to store: " + Name);
    Stream.WriteBuffer(&FlashBlockWideName, 1);
    WriteInt32(Stream, static_cast<std::int32_t>(Name.size()));
    std::string Units(Name.size() * 2, '\0');
    for (std::size_t I = 0; I < Name.size(); ++I) {
        Units[2 * I] = static_cast<char>(Name[I] & 0xFF);
        Units[2 * I + 1] = static_cast<char>(Name[I] >> 8);
    }
    Stream.WriteBuffer(Units.data(), Units.size());
    WriteInt32(Stream, static_cast<std::int32_t>(Data.Size()));
    Stream.WriteBuffer(Data.Memory(), static_cast<std::size_t>(Data.Size()));
}

bool ReadFlashBlock(TStream& Stream, std::wstring& Name, TMemoryStream& Data) {
    unsigned char Kind;
    Stream.ReadBuffer(&Kind, 1);
    if (Kind != FlashBlockWideName && Kind != FlashBlockAnsiName) return false;
    std::wstring Read = Kind == FlashBlockWideName ? ReadWideName(Stream) : ReadAnsiName(Stream);
    std::size_t Size = ReadLength(Stream, 1, L"a size");
    std::int64_t Position = Data.Position();
    Data.SetSize(static_cast<std::int64_t>(Size));
    Stream.ReadBuffer(Data.Memory(), Size);
    Data.SetPosition(Position);
    Name = std::move(Read);
    return true;
}

} // namespace zn
