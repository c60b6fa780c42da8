// The driver's offscreen buffers: their layout, sizing, the switch between opaque and
// transparent mode, and the erase raised for a fresh buffer.
#include "recording_driver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

using namespace zn;
using namespace zn::test;

namespace {

constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFFu;

} // namespace

class DriverBuffers : public ::testing::Test {
protected:
    TCallbackLog log;

    static int CountOf(const std::vector<std::wstring>& calls, const std::wstring& call)
    {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }
};

TEST_F(DriverBuffers, ConstructionSizesTheBufferAndSetsTheDefaults)
{
    TRecordingDriver driver(100, 60, kOpaqueWhite);
    EXPECT_EQ(driver.Width(), 100);
    EXPECT_EQ(driver.Height(), 60);
    EXPECT_NE(driver.BufferBits(), nullptr);
    EXPECT_NE(driver.BufferDC(), nullptr);
    EXPECT_FALSE(driver.Transparent());
    EXPECT_EQ(driver.Background(), kOpaqueWhite);
    EXPECT_EQ(driver.Skin(), L"ClearOverAll");
    EXPECT_EQ(driver.Volume(), 50);
    EXPECT_FALSE(driver.Pause());
    EXPECT_FALSE(driver.DisableFlashCursor());
    EXPECT_TRUE(driver.DisableFlashMenu());
    EXPECT_FALSE(driver.ShowUpdateRects());
    EXPECT_EQ(driver.ParentControl(), nullptr);
    EXPECT_EQ(driver.Owner(), nullptr);
}

TEST_F(DriverBuffers, BufferIsTopDownWithRowsOfExactlyWidthPixels)
{
    TRecordingDriver driver(7, 5, kOpaqueWhite);
    FillLongwordRect(driver.BufferBits(), 7, 5, 0, 0, 7, 5, 0);
    driver.BufferBits()[1 * 7 + 3] = 0x00123456u;
    GdiFlush();
    // GetPixel answers a COLORREF, 0x00BBGGRR.
    EXPECT_EQ(GetPixel(driver.BufferDC(), 3, 1), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(GetPixel(driver.BufferDC(), 3, 3), RGB(0, 0, 0));

    BITMAP bitmap{};
    ASSERT_TRUE(
        GetObjectW(GetCurrentObject(driver.BufferDC(), OBJ_BITMAP), sizeof bitmap, &bitmap));
    EXPECT_EQ(bitmap.bmWidth, 7);
    EXPECT_EQ(bitmap.bmHeight, 5);
    EXPECT_EQ(bitmap.bmBitsPixel, 32);
    EXPECT_EQ(bitmap.bmWidthBytes, 7 * 4);
}

TEST_F(DriverBuffers, ResizeClampsToOnePixelAndComparesTheArgumentsAsGiven)
{
    TRecordingDriver driver(100, 100, kOpaqueWhite);
    driver.SetOnEraseBackground(log.EraseEvent());
    driver.Calls.clear();

    driver.Resize(0, -5);
    EXPECT_EQ(driver.Width(), 1);
    EXPECT_EQ(driver.Height(), 1);
    EXPECT_NE(driver.BufferBits(), nullptr);
    // The stored size is 1 x 1, so the same arguments again rebuild the buffer.
    driver.Resize(0, -5);
    EXPECT_EQ(CountOf(driver.Calls, L"ResizeBuffer"), 2);
    ASSERT_EQ(log.Entries.size(), 2u);
    EXPECT_EQ(log.Entries[1].Rect, (TRect{0, 0, 1, 1}));

    driver.Resize(1, 1);
    EXPECT_EQ(CountOf(driver.Calls, L"ResizeBuffer"), 2);
    EXPECT_EQ(log.Entries.size(), 2u);
}

TEST_F(DriverBuffers, ResizeRecreatesTheBufferAndErasesItWhole)
{
    TRecordingDriver driver(10, 10, kOpaqueWhite);
    driver.SetOnEraseBackground(log.EraseEvent());
    driver.Resize(40, 30);
    ASSERT_EQ(log.Entries.size(), 1u);
    EXPECT_EQ(log.Entries[0].Kind, L"Erase");
    EXPECT_EQ(log.Entries[0].Sender, &driver);
    EXPECT_EQ(log.Entries[0].Rect, (TRect{0, 0, 40, 30}));
    EXPECT_EQ(driver.Calls, (std::vector<std::wstring>{L"ResizeBuffer"}));

    BITMAP bitmap{};
    GetObjectW(GetCurrentObject(driver.BufferDC(), OBJ_BITMAP), sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 40);
    EXPECT_EQ(bitmap.bmHeight, 30);
}

TEST_F(DriverBuffers, ZeroSizedDriverHasNoBufferUntilResized)
{
    TRecordingDriver driver(0, 0, kOpaqueWhite);
    EXPECT_EQ(driver.BufferBits(), nullptr);
    EXPECT_EQ(driver.BufferDC(), nullptr);
    driver.SetBackground(0x00000000u);
    EXPECT_EQ(driver.BufferBits(), nullptr);
    driver.Resize(3, 2);
    EXPECT_NE(driver.BufferBits(), nullptr);
    EXPECT_TRUE(driver.Transparent());
}

TEST_F(DriverBuffers, AlphaByteOfTheBackgroundSelectsTheMode)
{
    TRecordingDriver driver(8, 8, 0xFF102030u);
    driver.SetOnEraseBackground(log.EraseEvent());
    driver.Calls.clear();

    driver.SetBackground(0x00FFFFFFu);
    EXPECT_TRUE(driver.Transparent());
    EXPECT_NE(driver.SecondBufferDC(), nullptr);
    EXPECT_EQ(log.Entries.size(), 1u);

    // Same alpha byte: the buffers stay.
    const PznColorArray second = driver.SecondBufferBits();
    driver.SetBackground(0x00000000u);
    EXPECT_EQ(driver.SecondBufferBits(), second);
    EXPECT_EQ(log.Entries.size(), 1u);

    driver.SetBackground(0xFF000000u);
    EXPECT_FALSE(driver.Transparent());
    EXPECT_EQ(driver.SecondBufferDC(), nullptr);
    EXPECT_NE(driver.BufferBits(), nullptr);
    EXPECT_EQ(log.Entries.size(), 2u);
    EXPECT_EQ(driver.Background(), 0xFF000000u);
    // A background change never tells the player of a new size.
    EXPECT_TRUE(driver.Calls.empty());
}

TEST_F(DriverBuffers, FreeBufferReleasesBothBuffersAndTheirHandles)
{
    TRecordingDriver driver(8, 8, 0);
    ASSERT_TRUE(driver.Transparent());
    const HDC dcs[2] = {driver.BufferDC(), driver.SecondBufferDC()};
    const HGDIOBJ bitmaps[2] = {GetCurrentObject(dcs[0], OBJ_BITMAP),
                                GetCurrentObject(dcs[1], OBJ_BITMAP)};
    ASSERT_EQ(GetObjectType(bitmaps[1]), static_cast<DWORD>(OBJ_BITMAP));

    driver.FreeBuffer();
    EXPECT_EQ(driver.BufferBits(), nullptr);
    EXPECT_EQ(driver.BufferDC(), nullptr);
    EXPECT_FALSE(driver.Transparent());
    EXPECT_EQ(driver.SecondBufferDC(), nullptr);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(GetObjectType(dcs[i]), 0u) << "device context " << i;
        EXPECT_EQ(GetObjectType(bitmaps[i]), 0u) << "bitmap " << i;
    }
    driver.FreeBuffer();
    EXPECT_EQ(driver.BufferBits(), nullptr);
}

TEST_F(DriverBuffers, DestroyingTheDriverReleasesItsHandles)
{
    HDC dc = nullptr;
    HGDIOBJ bitmap = nullptr;
    {
        TRecordingDriver driver(8, 8, 0xFF000000u);
        dc = driver.BufferDC();
        bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    }
    EXPECT_EQ(GetObjectType(dc), 0u);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
}

TEST_F(DriverBuffers, SizeTheSystemCannotAllocateLeavesNoBufferAndRecovers)
{
    TRecordingDriver driver(10, 10, 0);
    driver.SetOnEraseBackground(log.EraseEvent());
    driver.Resize(60000, 60000);
    EXPECT_EQ(driver.BufferBits(), nullptr);
    EXPECT_EQ(driver.BufferDC(), nullptr);
    EXPECT_FALSE(driver.Transparent());
    driver.DrawUpdateRect({0, 0, 5, 5});
    driver.Resize(12, 12);
    EXPECT_NE(driver.BufferBits(), nullptr);
    EXPECT_TRUE(driver.Transparent());
}
