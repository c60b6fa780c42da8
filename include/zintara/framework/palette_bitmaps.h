// The pictures a designer shows on its palette for the registered components.
#pragma once

#include "zintara/framework/handles.h"
#include "zintara/framework/object.h"

namespace zn {

// The palette bitmap of ComponentClass: the bitmap resource named after the class in upper case
// (TZNFLASHPLAYER for TznFlashPlayer) that the design unit registering the class links into the
// program, with the resource's own colour depth. Empty when there is none; a palette then shows
// a picture of its own. By convention the bottom-left pixel's colour is the transparent one.
TDibSection LoadPaletteBitmap(const TClassInfo& ComponentClass);

} // namespace zn
