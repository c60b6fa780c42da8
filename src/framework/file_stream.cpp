// TFileStream over CreateFileW, ReadFile, WriteFile and SetFilePointerEx.
#include "zintara/framework/file_stream.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"

#include <windows.h>

#include <algorithm>

namespace zn {

namespace {

DWORD ShareFlags(std::uint32_t Mode) {
    switch (Mode & 0xF0) {
    case fmShareExclusive: return 0;
    case fmShareDenyWrite: return FILE_SHARE_READ;
    case fmShareDenyRead: return FILE_SHARE_WRITE;
    default: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    }
}

DWORD AccessFlags(std::uint32_t Mode) {
    switch (Mode & 0x03) {
    case fmOpenWrite: return GENERIC_WRITE;
    case fmOpenReadWrite: return GENERIC_READ | GENERIC_WRITE;
    default: return GENERIC_READ;
    }
}

} // namespace

TFileStream::TFileStream(const std::wstring& FileName, std::uint32_t Mode) : FFileName(FileName) {
    bool Create = (Mode & fmCreate) == fmCreate;
    DWORD Access = Create ? GENERIC_READ | GENERIC_WRITE : AccessFlags(Mode);
    DWORD Share = Create && (Mode & 0xF0) == 0 ? FILE_SHARE_READ : ShareFlags(Mode);
    HANDLE Handle = CreateFileW(FileName.c_str(), Access, Share, nullptr, Create ? CREATE_ALWAYS : OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (Handle == INVALID_HANDLE_VALUE) {
        std::wstring Reason = SystemErrorMessage(GetLastError());
        if (Create) throw EFCreateError(L"Cannot create file \"" + FileName + L"\". " + Reason);
        throw EFOpenError(L"Cannot open file \"" + FileName + L"\". " + Reason);
    }
    FHandle.reset(Handle);
}

const TClassInfo& TFileStream::ClassInfo() {
    static const TClassInfo Info = DeclareClass<TFileStream, TStream>(L"TFileStream");
    return Info;
}
const TClassInfo& TFileStream::ClassType() const { return ClassInfo(); }

std::size_t TFileStream::Read(void* Buffer, std::size_t Count) {
    std::size_t Total = 0;
    while (Total < Count) {
        DWORD Chunk = static_cast<DWORD>(std::min<std::size_t>(Count - Total, 0x40000000));
        DWORD Done = 0;
        if (!ReadFile(FHandle.get(), static_cast<char*>(Buffer) + Total, Chunk, &Done, nullptr) || Done == 0) break;
        Total += Done;
    }
    return Total;
}

std::size_t TFileStream::Write(const void* Buffer, std::size_t Count) {
    std::size_t Total = 0;
    while (Total < Count) {
        DWORD Chunk = static_cast<DWORD>(std::min<std::size_t>(Count - Total, 0x40000000));
        DWORD Done = 0;
        if (!WriteFile(FHandle.get(), static_cast<const char*>(Buffer) + Total, Chunk, &Done, nullptr) || Done == 0) break;
        Total += Done;
    }
    return Total;
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    LARGE_INTEGER Distance;
    Distance.QuadPart = Offset;
    LARGE_INTEGER Result;
    DWORD Method = Origin == TSeekOrigin::soBeginning ? FILE_BEGIN
                   : Origin == TSeekOrigin::soCurrent ? FILE_CURRENT
                                                      : FILE_END;
    if (!SetFilePointerEx(FHandle.get(), Distance, &Result, Method))
        throw EStreamError(L"Cannot seek in file \"" + FFileName + L"\". " + SystemErrorMessage(GetLastError()));
    return Result.QuadPart;
}

void TFileStream::SetSize(std::int64_t NewSize) {
    std::int64_t Saved = Position();
    SetPosition(NewSize);
    if (!SetEndOfFile(FHandle.get()))
        throw EStreamError(L"Cannot set the size of file \"" + FFileName + L"\". " +
                           SystemErrorMessage(GetLastError()));
    if (Saved < NewSize) SetPosition(Saved);
}

// The memory streams' files, kept here so that streams.cpp needs no Windows header.
void TCustomMemoryStream::SaveToFile(const std::wstring& FileName) {
    TFileStream File(FileName, fmCreate);
    SaveToStream(File);
}

void TMemoryStream::LoadFromFile(const std::wstring& FileName) {
    TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(File);
}

} // namespace zn
