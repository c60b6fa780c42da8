// The pictures of the palette bitmaps, 24 x 24, one per component. The bottom-left pixel of
// each is the colour a palette shows as transparent.
#pragma once

#include "canvas.h"

#include <string>
#include <vector>

namespace zn::palettegen {

inline constexpr int PictureSize = 24;

struct TPaletteBitmap {
    std::string Name; // the component's class name in upper case
    int BitsPerPixel; // 4: drawn in the 16 standard colours only
    TCanvas Picture;
};

// The sixteen standard colours, in the order of the system's 16-colour palette.
const std::vector<TRgb>& StandardColors();

std::vector<TPaletteBitmap> PaletteBitmaps();

} // namespace zn::palettegen
