// The plug-in's function table, as NP_GetEntryPoints hands it to the browser.
#pragma once

#include "npapi.h"

namespace zn::np {

void FillPluginFuncs(NPPluginFuncs& funcs);

} // namespace zn::np
