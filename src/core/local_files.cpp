// The local-file test (see local_files.h).
#include "zintara/core/local_files.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/file_stream.h"

#include <windows.h>

namespace zn {

bool IsExistingFile(const std::wstring& Path)
{
    if (Path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(Path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::unique_ptr<TStream> OpenExistingFile(const std::wstring& Path)
{
    if (!IsExistingFile(Path))
        return nullptr;
    try {
        return std::make_unique<TFileStream>(Path, fmOpenRead | fmShareDenyWrite);
    } catch (const Exception&) {
        return nullptr;
    }
}

} // namespace zn
