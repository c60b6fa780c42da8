// The scripted session of `make demo`: the designer used through its own windows, as a user
// would, with the open dialog answered by the script.
#pragma once

#include "designer_window.h"

#include <string>

namespace zn::zindesign {

// Puts each registered component of the palette page "Zintara" on a new form, embeds
// EmbedFile in the embedded-file list through its editor, lets the players show it, picks a
// skin from the list for two players at once, saves the form as OutFolder\sample.dfm (and as
// text beside it) and a screenshot of the designer as OutFolder\designer.png.
void RunDemoScript(TDesignerWindow& Window, const std::wstring& OutFolder,
                   const std::wstring& EmbedFile);

} // namespace zn::zindesign
