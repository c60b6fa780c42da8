// The order in which a requested name finds its source (see local_sources.h).
#include "zintara/core/local_sources.h"

#include "zintara/core/flash_list.h"
#include "zintara/core/local_files.h"
#include "zintara/core/request_names.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/module_paths.h"
#include "zintara/framework/library_module.h"
#include "zintara/framework/resource_stream.h"
#include "zintara/framework/text.h"

#include <windows.h>

namespace zn {

std::unique_ptr<TStream> OpenLibraryResource(std::string_view Name)
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

std::unique_ptr<TStream> OpenLocalSource(std::string_view Name,
                                         TPendingCopies<TMemoryStream>& Copies)
{
    // Testing a network path for a file already connects to its server, with the user's
    // credentials: a movie's name reaches files of this machine only. Its file part, which holds
    // no separator, may still name a local file, as a URL's may.
    const std::string decoded = DecodeName(Name);
    const bool as_path = !IsNetworkOrDevicePath(Name) && !IsNetworkOrDevicePath(decoded);
    if (as_path)
        if (auto file = OpenExistingFile(AnsiToWide(decoded)))
            return file;
    if (auto file = OpenExistingFile(AnsiToWide(FilePart(Name))))
        return file;
    if (as_path)
        if (auto file = OpenExistingFile(ExecutableFolder() + AnsiToWide(Name)))
            return file;
    if (auto embedded = CopyFlashListStream(AnsiToWide(FilePart(Name))))
        return embedded;
    if (const auto token = StreamTokenOf(Name))
        return Copies.Take(*token);
    // An http URL names another host's file, which is downloaded even when it shares a built-in
    // movie's name; names under the pseudo host arrive here without the scheme.
    if (IsHttpUrl(Name))
        return nullptr;
    return OpenLibraryResource(ResourceNameOf(Name));
}

} // namespace zn
