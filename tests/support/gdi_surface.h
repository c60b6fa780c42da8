// A 32-bit top-down DIB section in its own memory device context, for tests that let GDI draw
// the way the player does and then read the pixels back.
#pragma once

#include "zintara/framework/handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>

namespace zn::test {

struct TGdiSurface {
    TMemoryDC DC;
    TDibSection Bitmap;
    TSelectedObject Selection;
    std::uint32_t* Pixels = nullptr;
};

inline TGdiSurface MakeGdiSurface(int Width, int Height, std::uint32_t Fill)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = -Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    TGdiSurface surface;
    void* bits = nullptr;
    surface.Bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    surface.DC.reset(CreateCompatibleDC(nullptr));
    surface.Selection = SelectInto(surface.DC.get(), surface.Bitmap.get());
    EXPECT_TRUE(surface.Selection) << "a DIB section selected into a memory device context";
    surface.Pixels = static_cast<std::uint32_t*>(bits);
    if (surface.Pixels)
        std::fill_n(surface.Pixels, Width * Height, Fill);
    return surface;
}

// Composites Source (its whole Width x Height) onto Target at (0, 0), stretched to the target
// size, as the player composites semi-transparent content: per-pixel alpha (premultiplied) when
// PerPixelAlpha, and a constant opacity.
inline void CompositeOnto(HDC Target, int TargetWidth, int TargetHeight, const TGdiSurface& Source,
                          int Width, int Height, BYTE Opacity, bool PerPixelAlpha)
{
    GdiFlush();
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, Opacity, BYTE(PerPixelAlpha ? AC_SRC_ALPHA : 0)};
    EXPECT_TRUE(AlphaBlend(Target, 0, 0, TargetWidth, TargetHeight, Source.DC.get(), 0, 0, Width,
                           Height, blend));
    GdiFlush();
}

} // namespace zn::test
