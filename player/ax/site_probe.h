// What the control asks of a new client site before it relies on it: the interfaces it answers
// and refuses, whether it keeps COM's rules doing so (one identity, out pointers cleared on
// failure), and its container and moniker. Every answer is logged as "Site.QueryInterface",
// "Site.GetContainer" and "Site.GetMoniker" lines; broken rules are violations.
#pragma once

#include <ole2.h>

namespace zn::ax {

void ProbeSite(IOleClientSite& site, const void* control);

} // namespace zn::ax
