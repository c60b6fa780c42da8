// The order in which a requested name finds its source (see local_sources.h).
#include "zintara/core/local_sources.h"

#include "zintara/core/flash_list.h"
#include "zintara/core/local_files.h"
#include "zintara/core/request_names.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/module_paths.h"
#include "zintara/framework/resource_stream.h"
#include "zintara/framework/text.h"

#include <windows.h>

namespace zn {
namespace {

// The module the library's code is linked into, whose resources hold the built-in movies.
HMODULE LibraryModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&LibraryModule), &module);
    return module;
}

std::unique_ptr<TStream> OpenResource(std::string_view Name)
{
    if (Name.empty())
        return nullptr;
    const std::wstring resource = AnsiToWide(Name);
    const HMODULE module = LibraryModule();
    if (!FindResourceW(module, resource.c_str(), MAKEINTRESOURCEW(10)))
        return nullptr;
    try {
        return std::make_unique<TResourceStream>(module, resource);
    } catch (const Exception&) {
        return nullptr;
    }
}

} // namespace

std::unique_ptr<TStream> OpenLocalSource(std::string_view Name, TPendingCopies<TMemoryStream>& Copies)
{
    if (auto file = OpenExistingFile(AnsiToWide(DecodeName(Name))))
        return file;
    if (auto file = OpenExistingFile(AnsiToWide(FilePart(Name))))
        return file;
    if (auto file = OpenExistingFile(ExecutableFolder() + AnsiToWide(Name)))
        return file;
    if (auto embedded = CopyFlashListStream(AnsiToWide(FilePart(Name))))
        return embedded;
    if (const auto token = StreamTokenOf(Name))
        return Copies.Take(*token);
    return OpenResource(ResourceNameOf(Name));
}

} // namespace zn
