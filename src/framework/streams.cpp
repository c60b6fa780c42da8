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

const TClassInfo& TStream::ClassInfo() {
    static const TClassInfo Info = DeclareClass<TStream, TObject>(L"TStream");
    return Info;
}
const TClassInfo& TStream::ClassType() const { return ClassInfo(); }

std::int64_t TStream::Size() {
    std::int64_t Saved = Position();
    std::int64_t End = Seek(0, TSeekOrigin::soEnd);
    Seek(Saved, TSeekOrigin::soBeginning);
    return End;
}

std::int64_t TStream::Remaining() { return std::max<std::int64_t>(0, Size() - Position()); }

void TStream::ReadBuffer(void* Buffer, std::size_t Count) {
    if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(L"Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::size_t Count) {
    if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(L"Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& Source, std::int64_t Count) {
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    if (Count < 0) throw EStreamError(L"Invalid stream copy size");
    std::vector<unsigned char> Buffer(static_cast<size_t>(std::min<std::int64_t>(Count, 64 * 1024)));
    for (std::int64_t Left = Count; Left > 0;) {
        size_t Chunk = static_cast<size_t>(std::min<std::int64_t>(Left, static_cast<std::int64_t>(Buffer.size())));
        Source.ReadBuffer(Buffer.data(), Chunk);
        WriteBuffer(Buffer.data(), Chunk);
        Left -= static_cast<std::int64_t>(Chunk);
    }
    return Count;
}

const TClassInfo& TCustomMemoryStream::ClassInfo() {
    static const TClassInfo Info = DeclareClass<TCustomMemoryStream, TStream>(L"TCustomMemoryStream");
    return Info;
}
const TClassInfo& TCustomMemoryStream::ClassType() const { return ClassInfo(); }

std::size_t TCustomMemoryStream::Read(void* Buffer, std::size_t Count) {
    if (FPosition >= FSize) return 0;
    std::size_t Available = std::min(Count, FSize - FPosition);
    std::memcpy(Buffer, static_cast<const unsigned char*>(FMemory) + FPosition, Available);
    FPosition += Available;
    return Available;
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    std::int64_t Base = Origin == TSeekOrigin::soBeginning ? 0
                        : Origin == TSeekOrigin::soCurrent ? static_cast<std::int64_t>(FPosition)
                                                           : static_cast<std::int64_t>(FSize);
    std::int64_t Target = Base + Offset;
    if (Target < 0) throw EStreamError(L"Seek before the start of the stream");
    if (static_cast<std::uint64_t>(Target) > std::numeric_limits<std::size_t>::max())
        throw EStreamError(L"Seek beyond the addressable memory");
    FPosition = static_cast<std::size_t>(Target);
    return Target;
}

void TCustomMemoryStream::SetPointer(void* Memory, std::size_t Size) {
    FMemory = Memory;
    FSize = Size;
}

void TCustomMemoryStream::SaveToStream(TStream& Stream) { Stream.WriteBuffer(FMemory, FSize); }

const TClassInfo& TMemoryStream::ClassInfo() {
    static const TClassInfo Info = DeclareClass<TMemoryStream, TCustomMemoryStream>(L"TMemoryStream");
    return Info;
}
const TClassInfo& TMemoryStream::ClassType() const { return ClassInfo(); }

void TMemoryStream::SetSize(std::int64_t NewSize) {
    if (NewSize < 0) throw EStreamError(L"Invalid stream size");
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

std::size_t TMemoryStream::Write(const void* Buffer, std::size_t Count) {
    if (Count == 0) return 0;
    if (Count > FData.max_size() - FPosition) throw EOutOfMemory(L"Out of memory: stream too large");
    std::size_t End = FPosition + Count;
    if (End > FData.size()) {
        std::size_t Position = FPosition;
        SetSize(static_cast<std::int64_t>(End));
        FPosition = Position;
    }
    std::memcpy(FData.data() + FPosition, Buffer, Count);
    FPosition = End;
    return Count;
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    SetPointer(nullptr, 0);
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
    Stream.SetPosition(0);
    std::int64_t Count = Stream.Size();
    SetSize(Count);
    FPosition = 0;
    if (Count != 0) Stream.ReadBuffer(FData.data(), static_cast<size_t>(Count));
}

} // namespace zn
