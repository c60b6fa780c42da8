// A 32-bit top-down DIB section with a memory context, for reading back what was drawn.
#pragma once

#include "support/messages.h"

#include "zintara/framework/handles.h"

#include <windows.h>

#include <cstdint>

namespace zn::test {

class TTestSurface {
public:
    TTestSurface(int Width, int Height);
    HDC DC() const { return FDC.get(); }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // 0x00RRGGBB, so that it compares with RGB() through ColorRef.
    std::uint32_t Pixel(int X, int Y) const
    {
        GdiFlush();
        return FBits[Y * FWidth + X] & 0x00FFFFFF;
    }
    void Fill(std::uint32_t Value);
    // Copies what the window shows (through its window context) into the surface.
    void CopyFromWindow(HWND Window, int X = 0, int Y = 0);

private:
    int FWidth;
    int FHeight;
    std::uint32_t* FBits = nullptr;
    TMemoryDC FDC;
    TDibSection FBitmap;
    TSelectedObject FSelection;
};

// A COLORREF (0x00BBGGRR) as surface pixels hold it (0x00RRGGBB).
constexpr std::uint32_t ColorRef(std::uint32_t Color)
{
    return ((Color & 0xFF) << 16) | (Color & 0xFF00) | ((Color >> 16) & 0xFF);
}

} // namespace zn::test
