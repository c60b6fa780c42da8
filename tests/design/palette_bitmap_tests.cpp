// The palette bitmaps that come with the registration, found by the class names on the page.
#include "support/dib_surface.h"

#include "zintara/framework/palette_bitmaps.h"
#include "zintara/zn_flashplayer.h"
#include "zintara/zn_flashreg.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

using namespace zn;

namespace {

// The bitmap's pixels as 0x00RRGGBB, rows from the top.
std::vector<std::uint32_t> PixelsOf(HBITMAP Bitmap)
{
    test::TDibSurface surface(24, 24);
    const TMemoryDC source(CreateCompatibleDC(nullptr));
    const TSelectedObject selected = SelectInto(source.get(), Bitmap);
    EXPECT_TRUE(BitBlt(surface.DC(), 0, 0, 24, 24, source.get(), 0, 0, SRCCOPY));
    std::vector<std::uint32_t> pixels(surface.Bits(), surface.Bits() + 24 * 24);
    for (auto& each : pixels)
        each &= 0xFFFFFF;
    return pixels;
}

} // namespace

TEST(PaletteBitmaps, EachComponentOnThePageHasAPictureOfItsOwn)
{
    Register();
    const auto& pages = PalettePages();
    const auto page = std::find_if(pages.begin(), pages.end(), [](const TPalettePage& Each) {
        return Each.Name == ZintaraPalettePage;
    });
    ASSERT_NE(page, pages.end());
    ASSERT_EQ(page->Classes.size(), 5u);

    std::vector<std::vector<std::uint32_t>> pictures;
    for (const TClassInfo* each : page->Classes) {
        SCOPED_TRACE(testing::Message() << each->Name);
        const TDibSection bitmap = LoadPaletteBitmap(*each);
        ASSERT_TRUE(bitmap);
        DIBSECTION dib{};
        ASSERT_EQ(GetObjectW(bitmap.get(), sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
        EXPECT_EQ(dib.dsBm.bmWidth, 24);
        EXPECT_EQ(dib.dsBm.bmHeight, 24);
        const bool sixteen_colours =
            each == &TznFlashList::ClassInfo() || each == &TznFlashPlayer::ClassInfo();
        EXPECT_EQ(dib.dsBm.bmBitsPixel, sixteen_colours ? 4 : 8);

        const auto pixels = PixelsOf(static_cast<HBITMAP>(bitmap.get()));
        // A picture, not a blank: most of it differs from the transparent corner, in colours
        // enough to draw something.
        const std::uint32_t transparent = pixels[23 * 24];
        EXPECT_GT(std::count_if(pixels.begin(), pixels.end(),
                                [&](std::uint32_t Pixel) { return Pixel != transparent; }),
                  24 * 24 / 2);
        EXPECT_GE(std::set<std::uint32_t>(pixels.begin(), pixels.end()).size(), 5u);
        EXPECT_EQ(std::count(pictures.begin(), pictures.end(), pixels), 0);
        pictures.push_back(pixels);
    }
    // A class without a bitmap of its own: the palette draws its default.
    EXPECT_FALSE(LoadPaletteBitmap(TznCustomFlashPlayerWnd::ClassInfo()));
}
