// The order in which a name a player requests finds a source on this machine, shared by every
// host: the first that exists wins.
//   1. the name with its file-name escapes decoded, as a file;
//   2. its file part, as a file relative to the current folder;
//   3. the name beside the executable;
//   4. an embedded file of the registered file library, by the file part;
//   5. a copy the application handed over, by its stream token (served once);
//   6. a resource of the library's module, by the file part without its extension, unless the
//      name is an http URL.
// A UNC or device path, as given or decoded, skips rules 1 and 3. Nothing is found for any other
// name; the caller decides whether it downloads it.
#pragma once

#include "zintara/core/pending_copies.h"
#include "zintara/framework/streams.h"

#include <memory>
#include <string_view>

namespace zn {

// Name as the request resolved it (prefixes and query removed, escapes kept), in the system code
// page. Copies is the calling driver's own table of application streams.
std::unique_ptr<TStream> OpenLocalSource(std::string_view Name,
                                         TPendingCopies<TMemoryStream>& Copies);

// The RT_RCDATA resource Name of the library's module; null when there is none or it does not
// open.
std::unique_ptr<TStream> OpenLibraryResource(std::string_view Name);

} // namespace zn
