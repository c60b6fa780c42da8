// The stream family's portable part: TStream, and the memory streams over a block of bytes.
// Files and resources are in file_stream.h and resource_stream.h.
#pragma once

#include "zintara/framework/object.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zn {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // Transfer up to Count bytes; the result is the number transferred.
    virtual std::size_t Read(void* Buffer, std::size_t Count) = 0;
    virtual std::size_t Write(const void* Buffer, std::size_t Count) = 0;
    // The new position. Seeking before the start raises EStreamError.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t NewSize) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t Value) { Seek(Value, TSeekOrigin::soBeginning); }
    // The bytes between the position and the end.
    std::int64_t Remaining();

    // Transfer exactly Count bytes or raise EReadError ("Stream read error") or EWriteError.
    void ReadBuffer(void* Buffer, std::size_t Count);
    void WriteBuffer(const void* Buffer, std::size_t Count);
    // Copies Count bytes from Source's position; 0 copies the whole of Source from its start.
    std::int64_t CopyFrom(TStream& Source, std::int64_t Count);
};

// A stream over a block of memory that it does not allocate: reading and seeking.
class TCustomMemoryStream : public TStream {
public:
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(FSize); }
    void* Memory() const { return FMemory; }
    void SaveToStream(TStream& Stream);
    void SaveToFile(const std::wstring& FileName);

protected:
    void SetPointer(void* Memory, std::size_t Size);
    std::size_t FPosition = 0;

private:
    void* FMemory = nullptr;
    std::size_t FSize = 0;
};

// A stream over memory of its own, growing as it is written.
class TMemoryStream : public TCustomMemoryStream {
public:
    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    std::size_t Write(const void* Buffer, std::size_t Count) override;
    // Raises EOutOfMemory when the memory cannot be had; the stream is then unchanged.
    void SetSize(std::int64_t NewSize) override;
    void Clear();
    // Replace the contents with the whole of Stream or the file, and move to the start.
    void LoadFromStream(TStream& Stream);
    void LoadFromFile(const std::wstring& FileName);

private:
    std::vector<unsigned char> FData;
};

} // namespace zn
