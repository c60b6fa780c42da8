// Where the running program lives, and full paths (see module_paths.h).
#include "zintara/framework/module_paths.h"

#include <windows.h>

namespace zn {

std::wstring ExecutableFolder()
{
    // Paths may be longer than MAX_PATH: grow the buffer until the name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path.substr(0, path.find_last_of(L"\\/") + 1);
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
}

std::wstring FullPath(const std::wstring& Path)
{
    const DWORD size = GetFullPathNameW(Path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return Path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(Path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return Path;
    full.resize(length);
    return full;
}

} // namespace zn
