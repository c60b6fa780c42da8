// Register: the palette page and the property editors of the player components.
#include "zintara/zn_flashreg.h"

#include "zintara/components/player_components.h"
#include "zintara/core/flash_list.h"
#include "zintara/zn_layer.h"

// The palette bitmaps' object holds resources alone; the build gives it this one symbol so
// that the reference below takes it out of the archive with Register.
extern "C" const char zn_palette_bitmaps[];

namespace zn {

namespace {
[[gnu::used]] const void* const PaletteBitmapsLink = zn_palette_bitmaps;
}

void Register()
{
    RegisterComponents(ZintaraPalettePage,
                       {&TznFlashList::ClassInfo(), &TznFlashPlayer::ClassInfo(),
                        &TznFlashPlayerWnd::ClassInfo(), &TznFlashPlayerComp::ClassInfo(),
                        &TznFlashLayer::ClassInfo()});
    RegisterPropertyEditor(TTypeKind::WideString, &TznFlashStream::ClassInfo(), L"FlashStore",
                           &EditorClass<TznFlashStreamProperty>);
    // Not for the custom windowed player, and so not for the layer that descends from it.
    for (const TClassInfo* player : {&TznFlashPlayer::ClassInfo(), &TznFlashPlayerWnd::ClassInfo(),
                                     &TznFlashPlayerComp::ClassInfo()})
        RegisterPropertyEditor(TTypeKind::WideString, player, L"Skin",
                               &EditorClass<TznSkinProperty>);
}

} // namespace zn
