// The design-time side of the player components: what a form designer loads to put them on its
// palette and to edit their embedded files and skins. Only a designer calls Register; nothing in
// the run-time classes depends on this unit.
#pragma once

#include "zintara/framework/design_registry.h"

#include <string>

namespace zn {

// The palette page that holds every component of the library.
inline constexpr const wchar_t* ZintaraPalettePage = L"Zintara";

// The skins the video playback offers, in the order the skin editor lists them. Any other name
// is still accepted: the playback movie decides what it can load.
inline constexpr const wchar_t* SkinNames[] = {L"ClearOverAll", L"SteelOverAll", L"MojaveOverAll",
                                               L"ArcticOverAll"};

// The open dialog's filter for a file to embed: the kinds a movie plays or loads, then anything.
inline constexpr const wchar_t* FlashStreamFilter =
    L"Flash,Video,XML and Media files|*.swf;*.flv;*.xml;*.jpg;*.png;*.mp3;*.txt|All Files|*.*";

// FlashStore of an embedded-file item: shows the item's name and loads a file into the item
// through the open dialog. One item at a time.
class TznFlashStreamProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;

    // Asks for a file and loads it into the first selected item, named after the file (without
    // its folder) when it holds bytes; the form counts as changed whether or not a file was
    // chosen. A file that cannot be opened raises the stream's error to the designer and leaves
    // the item as it was.
    void Edit() override;
    TPropertyAttributes GetAttributes() override;
    // The item's public name: "(empty)" while it holds no bytes.
    std::wstring GetValue() override;
};

// Skin of the players: a drop-down of SkinNames, over several selected players at once. A
// framework exception raised while reading or writing the value is shown in a message box
// instead of reaching the designer (the form still counts as changed when a write failed, as
// the players before the failing one took the value); other exceptions pass.
class TznSkinProperty : public TStringProperty {
public:
    using TStringProperty::TStringProperty;

    TPropertyAttributes GetAttributes() override;
    std::wstring GetValue() override;
    void GetValues(const TGetStrProc& Proc) override;
    void SetValue(const std::wstring& Value) override;
};

// Puts TznFlashList, TznFlashPlayer, TznFlashPlayerWnd, TznFlashPlayerComp and TznFlashLayer on
// the palette page, in that order, and installs the two editors: TznFlashStreamProperty for
// FlashStore of TznFlashStream and its descendants, TznSkinProperty for Skin of TznFlashPlayer,
// TznFlashPlayerWnd and TznFlashPlayerComp. TznFlashLayer keeps the plain string editor for its
// Skin. The palette bitmaps, one per component named after its class in upper case, come
// with this unit (LoadPaletteBitmap).
void Register();

} // namespace zn
