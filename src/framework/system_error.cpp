// The system's text for an error code, over FormatMessageW.
#include "zintara/framework/exceptions.h"

#include <windows.h>

namespace zn {

std::wstring SystemErrorMessage(unsigned long ErrorCode)
{
    wchar_t* buffer = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, ErrorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring result;
    if (buffer) {
        result.assign(buffer, length);
        LocalFree(buffer);
    }
    while (!result.empty() &&
           (result.back() == L'\n' || result.back() == L'\r' || result.back() == L' '))
        result.pop_back();
    if (result.empty())
        result = L"System error " + std::to_wstring(ErrorCode);
    return result;
}

} // namespace zn
