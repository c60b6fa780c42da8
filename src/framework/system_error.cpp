// The system's text for an error code, over FormatMessageW.
#include "zintara/framework/exceptions.h"

#include <windows.h>

namespace zn {

std::wstring SystemErrorMessage(unsigned long ErrorCode) {
    wchar_t* Buffer = nullptr;
    DWORD Length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, ErrorCode, 0, reinterpret_cast<wchar_t*>(&Buffer), 0, nullptr);
    std::wstring Result;
    if (Buffer) {
        Result.assign(Buffer, Length);
        LocalFree(Buffer);
    }
    while (!Result.empty() && (Result.back() == L'\n' || Result.back() == L'\r' || Result.back() == L' '))
        Result.pop_back();
    if (Result.empty()) Result = L"System error " + std::to_wstring(ErrorCode);
    return Result;
}

} // namespace zn
