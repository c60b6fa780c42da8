// The "FlashStream" block: an embedded file's name and bytes inside its binary property.
#include "zintara/core/flash_list.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/text.h"

#include <cstdint>
#include <limits>

namespace zn {

namespace {

void WriteInt32(TStream& Stream, std::int32_t Value)
{
    auto bits = static_cast<std::uint32_t>(Value);
    unsigned char bytes[4] = {
        static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
        static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    Stream.WriteBuffer(bytes, sizeof bytes);
}

std::int32_t ReadInt32(TStream& Stream)
{
    unsigned char bytes[4];
    Stream.ReadBuffer(bytes, sizeof bytes);
    return static_cast<std::int32_t>(std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                                     std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24);
}

// A length field, in units of UnitSize bytes, that the rest of the stream can actually hold.
std::size_t ReadLength(TStream& Stream, std::int64_t UnitSize, const wchar_t* What)
{
    std::int64_t length = ReadInt32(Stream);
    std::int64_t left = Stream.Remaining();
    if (length < 0 || length * UnitSize > left)
        throw EReadError(L"Invalid embedded file: " + std::wstring(What) + L" of " +
                         std::to_wstring(length) + (UnitSize == 1 ? L" bytes" : L" characters") +
                         L" with " + std::to_wstring(left) + L" bytes left in the stream");
    return static_cast<std::size_t>(length);
}

std::wstring ReadWideName(TStream& Stream)
{
    std::string bytes(ReadLength(Stream, 2, L"a name") * 2, '\0');
    Stream.ReadBuffer(bytes.data(), bytes.size());
    std::wstring name(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < name.size(); ++i)
        name[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return name;
}

std::wstring ReadAnsiName(TStream& Stream)
{
    std::string name(ReadLength(Stream, 1, L"a name"), '\0');
    Stream.ReadBuffer(name.data(), name.size());
    return AnsiToWide(name);
}

} // namespace

void WriteFlashBlock(TStream& Stream, const std::wstring& Name, TCustomMemoryStream& Data)
{
    constexpr auto limit = std::numeric_limits<std::int32_t>::max();
    if (Data.Size() == 0) {
        Stream.WriteBuffer(&FlashBlockEmpty, 1);
        return;
    }
    if (Name.size() > static_cast<std::size_t>(limit) || Data.Size() > limit)
        throw EWriteError(L"Embedded file too large to store: " + Name);
    Stream.WriteBuffer(&FlashBlockWideName, 1);
    WriteInt32(Stream, static_cast<std::int32_t>(Name.size()));
    std::string units(Name.size() * 2, '\0');
    for (std::size_t i = 0; i < Name.size(); ++i) {
        units[2 * i] = static_cast<char>(Name[i] & 0xFF);
        units[2 * i + 1] = static_cast<char>(Name[i] >> 8);
    }
    Stream.WriteBuffer(units.data(), units.size());
    WriteInt32(Stream, static_cast<std::int32_t>(Data.Size()));
    Stream.WriteBuffer(Data.Memory(), static_cast<std::size_t>(Data.Size()));
}

bool ReadFlashBlock(TStream& Stream, std::wstring& Name, TMemoryStream& Data)
{
    unsigned char kind;
    Stream.ReadBuffer(&kind, 1);
    if (kind != FlashBlockWideName && kind != FlashBlockAnsiName)
        return false;
    std::wstring read = kind == FlashBlockWideName ? ReadWideName(Stream) : ReadAnsiName(Stream);
    std::size_t size = ReadLength(Stream, 1, L"a size");
    std::int64_t position = Data.Position();
    Data.SetSize(static_cast<std::int64_t>(size));
    Stream.ReadBuffer(Data.Memory(), size);
    Data.SetPosition(position);
    Name = std::move(read);
    return true;
}

} // namespace zn
