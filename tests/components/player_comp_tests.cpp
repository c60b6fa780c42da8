// The non-visual player: its buffer as the application sees it, paint notifications with real
// alpha, forwarding to the driver, and driver changes.
#include "test_driver.h"
#include "test_windows.h"

#include "zintara/framework/streams.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

using namespace zn;
using namespace zn::test;
using ::testing::ElementsAre;

namespace {

class PlayerCompTest : public ::testing::Test {
public:
    void OnPaint(TObject* Sender, const TRect& Rect)
    {
        PaintSenders.push_back(Sender);
        Painted.push_back(Rect);
    }

protected:
    TTestDriver& Driver() { return static_cast<TTestDriver&>(*Comp->Driver()); }

    TTestDriverHosts Hosts;
    std::unique_ptr<TznFlashPlayerComp> Comp = std::make_unique<TznFlashPlayerComp>(nullptr);
    std::vector<TObject*> PaintSenders;
    std::vector<TRect> Painted;
};

TEST_F(PlayerCompTest, StartsAt100By100InTransparentModeWithTheDriverDefaults)
{
    EXPECT_EQ(Comp->Width(), 100);
    EXPECT_EQ(Comp->Height(), 100);
    EXPECT_EQ(Comp->Plugin(), znDefault);
    EXPECT_TRUE(Driver().Transparent()) << "background 0 gives the driver a second buffer";
    EXPECT_EQ(Driver().Width(), 100);
    EXPECT_EQ(Comp->Skin(), L"ClearOverAll");
    EXPECT_EQ(Comp->Volume(), 50);
    EXPECT_FALSE(Comp->Pause());
    EXPECT_TRUE(Comp->DisableFlashMenu());
    EXPECT_FALSE(Comp->DisableFlashCursor());
}

TEST_F(PlayerCompTest, ScanlinesAreRowsOfWidthPixelsFromTheTop)
{
    auto* first = static_cast<std::uint8_t*>(Comp->BufferARGB());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Comp->Scanline(0), first);
    EXPECT_EQ(Comp->Scanline(1), first + 100 * 4);
    EXPECT_EQ(Comp->Scanline(99), first + 99 * 100 * 4);

    Comp->SetWidth(37);
    first = static_cast<std::uint8_t*>(Comp->BufferARGB());
    EXPECT_EQ(Comp->Scanline(5), first + 5 * 37 * 4);
}

TEST_F(PlayerCompTest, ScanlineOutsideTheBufferIsNull)
{
    EXPECT_EQ(Comp->Scanline(-1), nullptr);
    EXPECT_EQ(Comp->Scanline(100), nullptr);
    Comp->SetWidth(0);
    Comp->SetHeight(-4);
    // The driver clamps the size to one pixel; its width is what the rows are made of.
    EXPECT_EQ(Comp->Width(), 0);
    EXPECT_EQ(Comp->Scanline(0), Comp->BufferARGB());
    EXPECT_EQ(Comp->Scanline(1), nullptr);
}

TEST_F(PlayerCompTest, OnlyANewSizeRebuildsTheBuffer)
{
    const int before = Driver().BufferCreations;
    Comp->SetWidth(100);
    Comp->SetHeight(100);
    EXPECT_EQ(Driver().BufferCreations, before);
    Comp->SetWidth(64);
    EXPECT_EQ(Driver().BufferCreations, before + 1);
    Comp->SetHeight(48);
    EXPECT_EQ(Driver().BufferCreations, before + 2);
    EXPECT_EQ(Driver().Width(), 64);
    EXPECT_EQ(Driver().Height(), 48);
}

TEST_F(PlayerCompTest, OnPaintCarriesTheDriverAndTheChangedRectangle)
{
    Comp->SetOnPaint(TznPaintEvent::Bind<&PlayerCompTest::OnPaint>(this));
    Driver().Render(Rect(10, 20, 30, 40), [](HDC) {});
    ASSERT_EQ(Painted.size(), 1u);
    EXPECT_EQ(Painted[0], Rect(10, 20, 30, 40));
    EXPECT_EQ(PaintSenders[0], Comp->Driver()) << "the sender is the driver, not the component";
}

TEST_F(PlayerCompTest, PixelsCarryPremultipliedAlpha)
{
    Driver().Render(Rect(0, 0, 100, 100), [](HDC DC) {
        // Opaque red on the left half, half-covering white on the right, nothing below row 50.
        FillOpaque(DC, RECT{0, 0, 50, 50}, 0xFF0000u);
        CoverHalfWhite(DC, RECT{50, 0, 100, 50});
    });
    const auto* row = static_cast<const std::uint32_t*>(Comp->Scanline(10));
    EXPECT_EQ(row[10], 0xFFFF0000u);
    EXPECT_EQ(row[70], 0x80808080u);
    EXPECT_EQ(static_cast<const std::uint32_t*>(Comp->Scanline(70))[10], 0u)
        << "what the player left untouched is fully transparent";
}

TEST_F(PlayerCompTest, EraseFillsWithTransparentBlackOnly)
{
    FillLongword(Comp->BufferARGB(), 100 * 100, 0xFF123456u);
    Comp->Driver()->OnEraseBackground()(Comp->Driver(), Rect(2, 3, 5, 4));
    const auto* row = static_cast<const std::uint32_t*>(Comp->Scanline(3));
    EXPECT_EQ(row[1], 0xFF123456u);
    EXPECT_EQ(row[2], 0u);
    EXPECT_EQ(row[4], 0u);
    EXPECT_EQ(row[5], 0xFF123456u);
    EXPECT_EQ(static_cast<const std::uint32_t*>(Comp->Scanline(4))[2], 0xFF123456u);
}

TEST_F(PlayerCompTest, PlayerOperationsReachTheDriverUnchanged)
{
    TTestDriver::Log().clear();
    EXPECT_EQ(Comp->GetVariable(L"a"), L"value of a");
    Comp->SetVariable(L"b", L"c");
    EXPECT_EQ(Comp->CallFunction(L"<invoke name=\"f\"/>"), L"<string>answer</string>");
    Comp->SetReturnValue(L"<true/>");
    Comp->Play();
    Comp->StopPlay();
    Comp->Rewind();
    Comp->Forward();
    Comp->Back();
    EXPECT_TRUE(Comp->GetLoop());
    EXPECT_TRUE(Comp->GetIsPlaying());
    EXPECT_EQ(Comp->GetCurrentFrame(), 7);
    EXPECT_EQ(Comp->GetTotalFrames(), 12);
    Comp->SetLoop(false);
    Comp->SetCurrentFrame(3);
    EXPECT_THAT(TTestDriver::Log(),
                ElementsAre(L"GetVariable a", L"SetVariable b=c",
                            L"CallFunction <invoke name=\"f\"/>", L"SetReturnValue <true/>",
                            L"Play", L"StopPlay", L"Rewind", L"Forward", L"Back", L"GetLoop",
                            L"GetIsPlaying", L"GetCurrentFrame", L"GetTotalFrames", L"SetLoop 0",
                            L"SetCurrentFrame 3"));
}

TEST_F(PlayerCompTest, InputForwardersPassArgumentsAndResultsThrough)
{
    TTestDriver::Log().clear();
    const TShiftState shift{ssShift, ssLeft};
    Comp->CallMouseDown(mbRight, shift, 4, 5);
    Comp->CallMouseMove(shift, 6, 7);
    Comp->CallMouseUp(mbLeft, {}, 8, 9);
    bool handled = false;
    Driver().WheelHandled = true;
    Comp->CallMouseWheel({}, 300, 400, -120, handled);
    EXPECT_TRUE(handled);

    Driver().ConsumedKey = 'A';
    Driver().ConsumedChar = L'x';
    std::uint16_t consumed = 'A', kept = 'B';
    Comp->CallKeyDown(consumed, {});
    Comp->CallKeyUp(kept, {});
    wchar_t ch = L'x', other = L'y';
    Comp->CallKeyPress(ch, {});
    Comp->CallKeyPress(other, {});
    EXPECT_EQ(consumed, 0);
    EXPECT_EQ(kept, 'B');
    EXPECT_EQ(ch, L'\0');
    EXPECT_EQ(other, L'y');
    EXPECT_THAT(TTestDriver::Log(),
                ElementsAre(L"MouseDown 1 9 4,5", L"MouseMove 9 6,7", L"MouseUp 0 0 8,9",
                            L"MouseWheel 0 300,400 -120 unhandled", L"KeyDown 65 0", L"KeyUp 66 0",
                            L"KeyPress x 0", L"KeyPress y 0"));
}

TEST_F(PlayerCompTest, LoadMovieFromStreamForgetsTheName)
{
    Comp->SetMovie(L"first.swf");
    TMemoryStream bytes;
    bytes.WriteBuffer("FWS", 3);
    bytes.SetPosition(0);
    Comp->LoadMovieFromStream(bytes);
    EXPECT_EQ(Comp->Movie(), L"");
    EXPECT_THAT(LogLines(L"LoadMovie"),
                ElementsAre(L"LoadMovie ", L"LoadMovie first.swf", L"LoadMovieFromStream 3"));
}

TEST_F(PlayerCompTest, ChangingPluginResetsDriverSettingsAndReloadsTheMovie)
{
    Comp->SetMovie(L"clip.swf");
    Comp->SetSkin(L"SteelOverAll");
    Comp->SetVolume(80);
    Comp->SetPause(true);
    Comp->SetWidth(64);
    TTestDriver::Log().clear();

    Comp->SetPlugin(znNetscape);
    EXPECT_EQ(Comp->Plugin(), znNetscape);
    EXPECT_EQ(Comp->Skin(), L"ClearOverAll");
    EXPECT_EQ(Comp->Volume(), 50);
    EXPECT_FALSE(Comp->Pause());
    EXPECT_EQ(Comp->Driver()->Width(), 64) << "the size survives";
    EXPECT_TRUE(Driver().Transparent());
    EXPECT_THAT(TTestDriver::Log(), ElementsAre(L"Destroy", L"LoadMovie clip.swf"));

    TTestDriver::Log().clear();
    Comp->SetPlugin(znNetscape);
    EXPECT_TRUE(TTestDriver::Log().empty()) << "the same value keeps the driver";
}

TEST_F(PlayerCompTest, InTheDesignerAMovieIsPausedAndNothingPaints)
{
    Comp->SetOnPaint(TznPaintEvent::Bind<&PlayerCompTest::OnPaint>(this));
    Comp->SetDesigning(true);
    TTestDriver::Log().clear();
    Comp->SetMovie(L"clip.swf");
    EXPECT_THAT(TTestDriver::Log(), ElementsAre(L"LoadMovie clip.swf", L"StopPlay"));
    EXPECT_TRUE(Comp->Pause());
    Driver().Render(Rect(0, 0, 10, 10), [](HDC) {});
    EXPECT_TRUE(Painted.empty());
}

TEST_F(PlayerCompTest, AFailingDriverLeavesEveryOperationSafe)
{
    TTestDriver::OnConstruct() = [] { throw EOutOfMemory(L"no buffers"); };
    EXPECT_THROW(Comp->SetPlugin(znActiveX), EOutOfMemory);
    EXPECT_EQ(Comp->Driver(), nullptr);
    EXPECT_EQ(Comp->BufferARGB(), nullptr);
    EXPECT_EQ(Comp->Scanline(0), nullptr);
    EXPECT_EQ(Comp->GetVariable(L"a"), L"");
    EXPECT_EQ(Comp->GetTotalFrames(), 0);
    EXPECT_EQ(Comp->Skin(), L"");
    Comp->SetMovie(L"clip.swf");
    Comp->SetWidth(20);
    std::uint16_t key = 'A';
    Comp->CallKeyDown(key, {});
    EXPECT_EQ(key, 'A');

    TTestDriver::OnConstruct() = nullptr;
    Comp->SetPlugin(znDefault);
    ASSERT_NE(Comp->Driver(), nullptr);
    EXPECT_EQ(Comp->Driver()->Width(), 20);
}

TEST(PlayerCompWithoutPlayer, GetsTheNullDriverAndAnswersNothing)
{
    TNoPlayerHosts hosts;
    TznFlashPlayerComp comp(nullptr);
    ASSERT_NE(comp.BufferARGB(), nullptr);
    EXPECT_EQ(*static_cast<std::uint32_t*>(comp.Scanline(50)), 0u);
    comp.SetMovie(L"absent.swf");
    comp.Play();
    EXPECT_EQ(comp.CallFunction(L"<invoke name=\"f\"/>"), L"");
    EXPECT_EQ(comp.GetTotalFrames(), 0);
    EXPECT_FALSE(comp.GetIsPlaying());
    bool handled = false;
    comp.CallMouseWheel({}, 1, 1, 120, handled);
    comp.SetPlugin(znActiveX);
    EXPECT_NE(comp.BufferARGB(), nullptr);
}

} // namespace
