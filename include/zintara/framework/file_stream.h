// TFileStream: a stream over a Win32 file handle.
#pragma once

#include "zintara/framework/handles.h"
#include "zintara/framework/streams.h"

#include <cstdint>
#include <string>

namespace zn {

// Open modes, combined with one share mode: fmOpenRead | fmShareDenyWrite.
inline constexpr std::uint32_t fmCreate = 0xFF00;
inline constexpr std::uint32_t fmOpenRead = 0x0000;
inline constexpr std::uint32_t fmOpenWrite = 0x0001;
inline constexpr std::uint32_t fmOpenReadWrite = 0x0002;
inline constexpr std::uint32_t fmShareCompat = 0x0000;
inline constexpr std::uint32_t fmShareExclusive = 0x0010;
inline constexpr std::uint32_t fmShareDenyWrite = 0x0020;
inline constexpr std::uint32_t fmShareDenyRead = 0x0030;
inline constexpr std::uint32_t fmShareDenyNone = 0x0040;

class TFileStream : public TStream {
public:
    // fmCreate creates or truncates the file for reading and writing; failures raise
    // EFCreateError or EFOpenError naming the file and the system's reason.
    TFileStream(const std::wstring& FileName, std::uint32_t Mode);

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(std::int64_t NewSize) override;

    const std::wstring& FileName() const { return FFileName; }
    void* Handle() const { return FHandle.get(); }

private:
    std::wstring FFileName;
    TFileHandle FHandle;
};

} // namespace zn
