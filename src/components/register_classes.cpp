// Makes the player components known to the form reader.
#include "zintara/components/player_components.h"
#include "zintara/zn_layer.h"

#include "zintara/framework/class_registry.h"

namespace zn {

void RegisterFlashPlayerClasses()
{
    RegisterClasses({&TznFlashPlayer::ClassInfo(), &TznFlashPlayerWnd::ClassInfo(),
                     &TznFlashPlayerComp::ClassInfo(), &TznFlashLayer::ClassInfo()});
}

} // namespace zn
