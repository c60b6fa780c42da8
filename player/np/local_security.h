// The local-file restriction: a movie that came from the local file system may not fetch
// network URLs, until the host lifts the restriction (Flash_DisableLocalSecurity).
#pragma once

#include <string_view>

namespace zn::np {

// A URL with no scheme, a "file:" URL or a drive path.
bool IsLocalUrl(std::string_view url);

bool IsRequestAllowed(std::string_view movieUrl, std::string_view requestUrl,
                      bool restrictionLifted);

} // namespace zn::np
