// TStream's transfers and the memory streams.
#include "zintara/framework/streams.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace zn {

const TClassInfo& TStream::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TStream, TObject>(L"TStream");
    return info;
}
const TClassInfo& TStream::ClassType() const
{
    return ClassInfo();
}

std::int64_t TStream::Size()
{
    std::int64_t saved = Position();
    std::int64_t end = Seek(0, TSeekOrigin::soEnd);
    Seek(saved, TSeekOrigin::soBeginning);
    return end;
}

std::int64_t TStream::Remaining()
{
    return std::max<std::int64_t>(0, Size() - Position());
}

void TStream::ReadBuffer(void* Buffer, std::size_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError(L"Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::size_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError(L"Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& Source, std::int64_t Count)
{
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    if (Count < 0)
        throw EStreamError(L"Invalid stream copy size");
    std::vector<unsigned char> buffer(
        static_cast<size_t>(std::min<std::int64_t>(Count, 64 * 1024)));
    for (std::int64_t left = Count; left > 0;) {
        size_t chunk = static_cast<size_t>(
            std::min<std::int64_t>(left, static_cast<std::int64_t>(buffer.size())));
        Source.ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        left -= static_cast<std::int64_t>(chunk);
    }
    return Count;
}

const TClassInfo& TCustomMemoryStream::ClassInfo()
{
    static const TClassInfo info =
        DeclareClass<TCustomMemoryStream, TStream>(L"TCustomMemoryStream");
    return info;
}
const TClassInfo& TCustomMemoryStream::ClassType() const
{
    return ClassInfo();
}

std::size_t TCustomMemoryStream::Read(void* Buffer, std::size_t Count)
{
    if (FPosition >= FSize)
        return 0;
    std::size_t available = std::min(Count, FSize - FPosition);
    std::memcpy(Buffer, static_cast<const unsigned char*>(FMemory) + FPosition, available);
    FPosition += available;
    return available;
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    std::int64_t base = Origin == TSeekOrigin::soBeginning ? 0
                        : Origin == TSeekOrigin::soCurrent ? static_cast<std::int64_t>(FPosition)
                                                           : static_cast<std::int64_t>(FSize);
    std::int64_t target = base + Offset;
    if (target < 0)
        throw EStreamError(L"Seek before the start of the stream");
    if (static_cast<std::uint64_t>(target) > std::numeric_limits<std::size_t>::max())
        throw EStreamError(L"Seek beyond the addressable memory");
    FPosition = static_cast<std::size_t>(target);
    return target;
}

void TCustomMemoryStream::SetPointer(void* Memory, std::size_t Size)
{
    FMemory = Memory;
    FSize = Size;
}

void TCustomMemoryStream::SaveToStream(TStream& Stream)
{
    Stream.WriteBuffer(FMemory, FSize);
}

const TClassInfo& TMemoryStream::ClassInfo()
{
    static const TClassInfo info =
        DeclareClass<TMemoryStream, TCustomMemoryStream>(L"TMemoryStream");
    return info;
}
const TClassInfo& TMemoryStream::ClassType() const
{
    return ClassInfo();
}

void TMemoryStream::SetSize(std::int64_t NewSize)
{
    if (NewSize < 0)
        throw EStreamError(L"Invalid stream size");
    if (static_cast<std::uint64_t>(NewSize) > FData.max_size())
        throw EOutOfMemory(L"Out of memory: a stream of " + std::to_wstring(NewSize) + L" bytes");
    try {
        FData.resize(static_cast<size_t>(NewSize));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(L"Out of memory: a stream of " + std::to_wstring(NewSize) + L" bytes");
    } catch (const std::length_error&) {
        throw EOutOfMemory(L"Out of memory: a stream of " + std::to_wstring(NewSize) + L" bytes");
    }
    SetPointer(FData.data(), FData.size());
    FPosition = std::min(FPosition, FData.size());
}

std::size_t TMemoryStream::Write(const void* Buffer, std::size_t Count)
{
    if (Count == 0)
        return 0;
    if (Count > FData.max_size() - FPosition)
        throw EOutOfMemory(L"Out of memory: stream too large");
    std::size_t end = FPosition + Count;
    if (end > FData.size()) {
        std::size_t position = FPosition;
        SetSize(static_cast<std::int64_t>(end));
        FPosition = position;
    }
    std::memcpy(FData.data() + FPosition, Buffer, Count);
    FPosition = end;
    return Count;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    SetPointer(nullptr, 0);
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream)
{
    Stream.SetPosition(0);
    std::int64_t count = Stream.Size();
    SetSize(count);
    FPosition = 0;
    if (count != 0)
        Stream.ReadBuffer(FData.data(), static_cast<size_t>(count));
}

} // namespace zn
