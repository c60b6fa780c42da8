// What it costs to put a finished frame on the screen: handing it to a layered window and
// copying it into an ordinary one. Needs an X display under Wine.
#pragma once

#include <windows.h>

namespace zn::bench {

struct THandoffFigures {
    double LayeredMicroseconds; // UpdateLayeredWindow with per-pixel alpha
    double BlitMicroseconds;    // BitBlt into a window's device context
};

// Medians over Rounds of each, the source being Width x Height pixels of SourceDC.
THandoffFigures MeasureScreenHandoff(HDC SourceDC, int Width, int Height, int Rounds);

} // namespace zn::bench
