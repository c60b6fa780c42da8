// ColorToRGB: system colours resolved through the system's current settings.
#include "zintara/framework/graphics.h"

namespace zn {

TColor ColorToRGB(TColor Color)
{
    if (Color < 0)
        return static_cast<TColor>(GetSysColor(Color & 0xFF));
    return Color & 0x00FFFFFF;
}

} // namespace zn
