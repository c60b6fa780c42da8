// Where the control's binds get their bytes. The control names every movie and every file a
// movie loads to the driver's bind host; the name is resolved when the control creates its
// moniker and served when it binds that moniker, one name at a time.
#pragma once

#include "zintara/core/pending_copies.h"
#include "zintara/framework/streams.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zn::activex {

// The name under the pseudo host that the control is given for Name.
std::wstring PseudoHostName(const std::wstring& Name);

// The local-file test of a name the control asks for: the file it names with its escapes decoded,
// "file://" and the query part removed, when that file exists. Network and device paths never
// pass.
std::optional<std::wstring> LocalFileOf(const std::wstring& Name);

class TMovieSources {
public:
    // The source of one bind: bytes the driver holds, or a URL for the system's URL library.
    struct TSource {
        std::unique_ptr<TStream> Data;
        std::wstring Url;
    };

    // Resolves Name for the next bind; false when the name is none of the driver's (it carries
    // no content marker), which leaves the control to fetch it its own way.
    bool Resolve(std::wstring Name);
    // The source of the name resolved last, which is then forgotten. Empty (no data, no URL)
    // when nothing was resolved, the name found no source, or its source is gone: a copy already
    // served, a library entry removed, a resource that does not open.
    TSource TakeCurrent();

    // Keeps a copy of an application stream until the control binds it; answers its token.
    std::uint32_t AddCopy(std::unique_ptr<TMemoryStream> Copy)
    {
        return FCopies.Add(std::move(Copy));
    }

private:
    std::wstring FCurrent;
    TPendingCopies<TMemoryStream> FCopies;
};

} // namespace zn::activex
