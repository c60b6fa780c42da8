// TFileStream over CreateFileW, ReadFile, WriteFile and SetFilePointerEx.
#include "zintara/framework/file_stream.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"

#include <windows.h>

#include <algorithm>

namespace zn {

namespace {

DWORD ShareFlags(std::uint32_t Mode)
{
    switch (Mode & 0xF0) {
    case fmShareExclusive: return 0;
    case fmShareDenyWrite: return FILE_SHARE_READ;
    case fmShareDenyRead: return FILE_SHARE_WRITE;
    default: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    }
}

DWORD AccessFlags(std::uint32_t Mode)
{
    switch (Mode & 0x03) {
    case fmOpenWrite: return GENERIC_WRITE;
    case fmOpenReadWrite: return GENERIC_READ | GENERIC_WRITE;
    default: return GENERIC_READ;
    }
}

} // namespace

TFileStream::TFileStream(const std::wstring& FileName, std::uint32_t Mode) : FFileName(FileName)
{
    bool create = (Mode & fmCreate) == fmCreate;
    DWORD access = create ? GENERIC_READ | GENERIC_WRITE : AccessFlags(Mode);
    DWORD share = create && (Mode & 0xF0) == 0 ? FILE_SHARE_READ : ShareFlags(Mode);
    HANDLE handle =
        CreateFileW(FileName.c_str(), access, share, nullptr,
                    create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        std::wstring reason = SystemErrorMessage(GetLastError());
        if (create)
            throw EFCreateError(L"Cannot create file \"" + FileName + L"\". " + reason);
        throw EFOpenError(L"Cannot open file \"" + FileName + L"\". " + reason);
    }
    FHandle.reset(handle);
}

const TClassInfo& TFileStream::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TFileStream, TStream>(L"TFileStream");
    return info;
}
const TClassInfo& TFileStream::ClassType() const
{
    return ClassInfo();
}

std::size_t TFileStream::Read(void* Buffer, std::size_t Count)
{
    std::size_t total = 0;
    while (total < Count) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(Count - total, 0x40000000));
        DWORD done = 0;
        if (!ReadFile(FHandle.get(), static_cast<char*>(Buffer) + total, chunk, &done, nullptr) ||
            done == 0)
            break;
        total += done;
    }
    return total;
}

std::size_t TFileStream::Write(const void* Buffer, std::size_t Count)
{
    std::size_t total = 0;
    while (total < Count) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(Count - total, 0x40000000));
        DWORD done = 0;
        if (!WriteFile(FHandle.get(), static_cast<const char*>(Buffer) + total, chunk, &done,
                       nullptr) ||
            done == 0)
            break;
        total += done;
    }
    return total;
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    LARGE_INTEGER distance;
    distance.QuadPart = Offset;
    LARGE_INTEGER result;
    DWORD method = Origin == TSeekOrigin::soBeginning ? FILE_BEGIN
                   : Origin == TSeekOrigin::soCurrent ? FILE_CURRENT
                                                      : FILE_END;
    if (!SetFilePointerEx(FHandle.get(), distance, &result, method))
        throw EStreamError(L"Cannot seek in file \"" + FFileName + L"\". " +
                           SystemErrorMessage(GetLastError()));
    return result.QuadPart;
}

void TFileStream::SetSize(std::int64_t NewSize)
{
    std::int64_t saved = Position();
    SetPosition(NewSize);
    if (!SetEndOfFile(FHandle.get()))
        throw EStreamError(L"Cannot set the size of file \"" + FFileName + L"\". " +
                           SystemErrorMessage(GetLastError()));
    if (saved < NewSize)
        SetPosition(saved);
}

// The memory streams' files, kept here so that streams.cpp needs no Windows header.
void TCustomMemoryStream::SaveToFile(const std::wstring& FileName)
{
    TFileStream file(FileName, fmCreate);
    SaveToStream(file);
}

void TMemoryStream::LoadFromFile(const std::wstring& FileName)
{
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

} // namespace zn
