// The local-file restriction: a movie that came from the local file system may not fetch
// network URLs, until the host lifts the restriction (the plug-in's library export, the control's
// DisableLocalSecurity).
#pragma once

#include <string_view>

namespace zn::player {

// A URL with no scheme, a "file:" URL or a drive path.
bool IsLocalUrl(std::string_view url);

bool IsRequestAllowed(std::string_view movieUrl, std::string_view requestUrl,
                      bool restrictionLifted);

} // namespace zn::player
