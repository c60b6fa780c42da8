// State of the loaded plug-in library that outlives instances.
#pragma once

namespace zn::np {

// Flash_DisableLocalSecurity was called: movies from local files may fetch network URLs.
void LiftLocalRestriction();
bool LocalRestrictionLifted();

} // namespace zn::np
