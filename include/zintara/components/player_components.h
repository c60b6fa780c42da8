// The player components: the graphic control, the windowed controls, the non-visual component,
// and the registration through which forms that hold them can be read.
#pragma once

#include "zintara/components/flash_player.h"
#include "zintara/components/flash_player_comp.h"
#include "zintara/components/flash_player_wnd.h"

namespace zn {

// Registers the component classes with the class registry, so that the form reader can create
// them. Classes are registered by this explicit call, never by static initialisers.
void RegisterFlashPlayerClasses();

} // namespace zn
