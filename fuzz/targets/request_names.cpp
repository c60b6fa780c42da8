// Request names as a movie hands them to a host: resolution, query splitting, escapes, file and
// resource parts, network-path test and stream tokens, each on the same untrusted text.
#include "zintara/core/request_names.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::string_view name(reinterpret_cast<const char*>(Data), Size);

    const zn::TResolvedRequest resolved = zn::ResolveRequest(name);
    if (resolved.Name.size() > name.size())
        std::abort();
    for (const auto& [key, value] : resolved.Query)
        if (key.size() + value.size() > name.size())
            std::abort();

    const std::string decoded = zn::DecodeName(resolved.Name);
    if (decoded.size() > resolved.Name.size())
        std::abort();
    const std::string_view file = zn::FilePart(decoded);
    const std::string_view resource = zn::ResourceNameOf(file);
    if (resource.size() > file.size())
        std::abort();
    (void)zn::IsHttpUrl(name);
    (void)zn::IsNetworkOrDevicePath(decoded);

    if (const auto token = zn::StreamTokenOf(name)) {
        // A token read from a name is written back as the same eight digits.
        const std::string written =
            std::string(zn::StreamNameMarker) + zn::FormatStreamToken(*token);
        if (zn::StreamTokenOf(written) != token ||
            zn::StreamMovieUrl(*token, file).find(written) == std::string::npos)
            std::abort();
    }

    std::string rest(name);
    while (!rest.empty()) {
        const std::size_t before = rest.size();
        (void)zn::ReadToken(rest, ",&=");
        if (rest.size() >= before)
            std::abort();
    }
    return 0;
}
