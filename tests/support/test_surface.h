// A DIB surface that also reads back what a window shows, and composites onto other device
// contexts the way the player does.
#pragma once

#include "support/dib_surface.h"
#include "support/messages.h"

#include <windows.h>

#include <cstdint>

namespace zn::test {

class TTestSurface : public TDibSurface {
public:
    using TDibSurface::TDibSurface;
    // 0x00RRGGBB, so that it compares with RGB() through ColorRef.
    std::uint32_t Pixel(int X, int Y) const { return At(X, Y) & 0x00FFFFFF; }
    // Copies what the window shows (through its window context) into the surface.
    void CopyFromWindow(HWND Window, int X = 0, int Y = 0);
};

// A COLORREF (0x00BBGGRR) as surface pixels hold it (0x00RRGGBB).
constexpr std::uint32_t ColorRef(std::uint32_t Color)
{
    return ((Color & 0xFF) << 16) | (Color & 0xFF00) | ((Color >> 16) & 0xFF);
}

// Composites the whole of Source onto Target at (0, 0), stretched to TargetWidth x TargetHeight,
// as the player composites semi-transparent content: per-pixel alpha (premultiplied) when
// PerPixelAlpha, and a constant Opacity.
void CompositeOnto(HDC Target, int TargetWidth, int TargetHeight, const TDibSurface& Source,
                   BYTE Opacity, bool PerPixelAlpha);

} // namespace zn::test
