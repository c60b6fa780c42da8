#include "scratch_folder.h"

#include <windows.h>

#include <filesystem>
#include <stdexcept>

namespace zn::test {

TScratchFolder::TScratchFolder()
{
    wchar_t temp[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    const std::wstring base =
        std::wstring(temp, length) + L"zn-test-" + std::to_wstring(GetCurrentProcessId());
    // Suites run in parallel and a process may make several folders: the first free name wins.
    for (unsigned attempt = 0;; ++attempt) {
        FPath = base + L"-" + std::to_wstring(attempt);
        if (CreateDirectoryW(FPath.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a scratch folder");
    }
}

TScratchFolder::~TScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(FPath), ignored);
}

} // namespace zn::test
