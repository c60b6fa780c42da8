// The graphic player control on a real form: the parent's pixels behind it as the movie's
// background, the whole buffer on screen, the colour fill, and input from the parent's window.
#include "test_driver.h"
#include "test_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

using namespace zn;
using namespace zn::test;
using ::testing::ElementsAre;

namespace {

constexpr std::uint32_t Junk = 0xFF00FF00u;
constexpr TColor Teal = 0x00998811; // blue 0x99, green 0x88, red 0x11

void DrawRedSquare(HDC DC)
{
    FillOpaque(DC, RECT{10, 10, 20, 20}, 0xFF0000u);
}

class GraphicControlTest : public ::testing::Test {
protected:
    GraphicControlTest()
    {
        Form->SetBounds(40, 40, 240, 200);
        Player = new TznFlashPlayer(Form.get());
        Player->SetBounds(13, 17, 60, 40);
        Player->SetParent(Form.get());
        Form->Show();
        UpdateWindow(Form->Handle());
        PumpMessages();
    }

    TTestDriver& Driver() { return static_cast<TTestDriver&>(*Player->Driver()); }
    void FillBuffer(std::uint32_t Value)
    {
        FillLongword(Driver().BufferBits(), Driver().Width() * Driver().Height(), Value);
    }
    void Erase(const TRect& Rect) { Driver().OnEraseBackground()(&Driver(), Rect); }

    TTestDriverHosts Hosts;
    std::unique_ptr<TPatternForm> Form = std::make_unique<TPatternForm>(nullptr);
    TznFlashPlayer* Player = nullptr;
};

TEST_F(GraphicControlTest, StartsTransparentAt100By100WithTheDriverDefaults)
{
    TznFlashPlayer fresh(nullptr);
    EXPECT_EQ(fresh.Width(), 100);
    EXPECT_EQ(fresh.Height(), 100);
    EXPECT_TRUE(fresh.Transparent());
    EXPECT_TRUE(fresh.DisableFlashMenu());
    EXPECT_FALSE(fresh.DisableFlashCursor());
    EXPECT_EQ(fresh.Driver()->Background() >> 24, 0xFFu) << "always opaque mode";
    EXPECT_EQ(fresh.Driver()->Width(), 100);
}

TEST_F(GraphicControlTest, EraseCopiesExactlyTheParentsPixelsBehindTheRectangle)
{
    FillBuffer(Junk);
    Erase(Rect(5, 5, 25, 20));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool inside = x >= 5 && x < 25 && y >= 5 && y < 20;
            const std::uint32_t expected = inside ? PatternColor(13 + x, 17 + y) : Junk;
            ASSERT_EQ(Driver().Pixel(x, y) & 0xFFFFFFu, expected & 0xFFFFFFu)
                << "at " << x << "," << y << (inside ? " inside" : " outside");
        }
}

TEST_F(GraphicControlTest, WithoutAParentTheEraseLeavesTheBufferAlone)
{
    TznFlashPlayer orphan(nullptr);
    auto& driver = static_cast<TTestDriver&>(*orphan.Driver());
    FillLongword(driver.BufferBits(), 100 * 100, Junk);
    driver.OnEraseBackground()(&driver, Rect(0, 0, 100, 100));
    EXPECT_EQ(driver.Pixel(50, 50), Junk);
}

TEST_F(GraphicControlTest, MadeBeforeItsParentsWindowItFetchesTheBackgroundAtTheFirstPaint)
{
    // The fixture made the control, and so its driver, before the form had a window.
    EXPECT_EQ(Driver().Pixel(0, 0) & 0xFFFFFFu, PatternColor(13, 17));
    EXPECT_EQ(Driver().Pixel(59, 39) & 0xFFFFFFu, PatternColor(72, 56));
    EXPECT_EQ(WindowPixel(Form->Handle(), 13 + 30, 17 + 30), PatternColor(43, 47));
    EXPECT_THAT(LogLines(L"ForceUpdate"), ::testing::Contains(L"ForceUpdate"))
        << "the player draws over the fetched background";
    const int forced = Driver().ForcedUpdates;
    Form->Invalidate();
    UpdateWindow(Form->Handle());
    EXPECT_EQ(Driver().ForcedUpdates, forced) << "only the first paint fetches it";
}

TEST_F(GraphicControlTest, TheMovieOverTheParentReachesTheScreenWhole)
{
    Driver().Render(Rect(0, 0, 60, 40), DrawRedSquare);
    const HWND window = Form->Handle();
    EXPECT_EQ(WindowPixel(window, 13 + 15, 17 + 15), 0xFF0000u) << "the movie";
    EXPECT_EQ(WindowPixel(window, 13 + 2, 17 + 30), PatternColor(15, 47)) << "behind the movie";
    EXPECT_EQ(WindowPixel(window, 13 + 59, 17 + 39), PatternColor(72, 56));
    EXPECT_EQ(WindowPixel(window, 13 + 61, 17 + 20), PatternColor(74, 37)) << "beside the control";

    // An update of a small rectangle still copies the whole buffer.
    FillBuffer(0xFF0000FFu);
    Driver().Render(Rect(0, 0, 1, 1), [](HDC) {});
    EXPECT_EQ(WindowPixel(window, 13 + 40, 17 + 30), 0x0000FFu);
}

TEST_F(GraphicControlTest, WithoutTransparencyTheEraseFillsTheColourPixel)
{
    Player->SetColor(Teal);
    Player->SetTransparent(false);
    FillBuffer(Junk);
    Erase(Rect(1, 2, 4, 3));
    EXPECT_EQ(Driver().Pixel(1, 2), 0xFF118899u);
    EXPECT_EQ(Driver().Pixel(3, 2), 0xFF118899u);
    EXPECT_EQ(Driver().Pixel(4, 2), Junk);
    EXPECT_EQ(Driver().Pixel(1, 3), Junk);
    EXPECT_EQ(Driver().Pixel(0, 2), Junk);
}

TEST_F(GraphicControlTest, TransparentAndColourChangesSetTheBackgroundAndRepaintOnce)
{
    const int before = Driver().ForcedUpdates;
    Player->SetTransparent(false);
    EXPECT_EQ(Driver().ForcedUpdates, before + 1);
    Player->SetTransparent(false);
    EXPECT_EQ(Driver().ForcedUpdates, before + 1) << "unchanged";
    Player->SetColor(Teal);
    EXPECT_EQ(Driver().ForcedUpdates, before + 2);
    EXPECT_EQ(Driver().Background(), 0xFF118899u);
}

TEST_F(GraphicControlTest, ResizingResizesTheBufferAndMovingKeepsIt)
{
    const int before = Driver().BufferCreations;
    Player->SetBounds(30, 30, 60, 40);
    EXPECT_EQ(Driver().BufferCreations, before);
    Player->SetBounds(30, 30, 75, 45);
    EXPECT_EQ(Driver().BufferCreations, before + 1);
    EXPECT_EQ(Driver().Width(), 75);
    EXPECT_EQ(Driver().Height(), 45);
}

TEST_F(GraphicControlTest, MouseOnTheParentReachesThePlayerInClientCoordinates)
{
    int clicks = 0;
    struct TClickCounter {
        int* Count;
        void Click(TObject*) { ++*Count; }
    } counter{&clicks};
    Player->OnClick = TNotifyEvent::Bind<&TClickCounter::Click>(&counter);
    TTestDriver::Log().clear();
    const HWND window = Form->Handle();
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(13 + 4, 17 + 6));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(13 + 5, 17 + 7));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(13 + 5, 17 + 7));
    EXPECT_THAT(LogLines(L"Mouse"),
                ElementsAre(L"MouseMove 0 4,6", L"MouseDown 0 8 5,7", L"MouseUp 0 0 5,7"));
    EXPECT_EQ(clicks, 1) << "the framework's events keep working";
}

TEST_F(GraphicControlTest, WheelHandledIsWhatThePlayerLeaves)
{
    Driver().WheelHandled = true;
    TTestDriver::Log().clear();
    const TPoint screen = Form->ClientToScreen(TPoint{13 + 5, 17 + 5});
    SendMessageW(Form->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                 MAKELPARAM(screen.X, screen.Y));
    EXPECT_THAT(LogLines(L"MouseWheel"),
                ElementsAre(L"MouseWheel 0 " + std::to_wstring(screen.X) + L"," +
                            std::to_wstring(screen.Y) + L" 120 unhandled"));
}

TEST_F(GraphicControlTest, LoadedPreparesTheBufferLoadsTheMovieAndHandsOverTheHandlers)
{
    struct TCommands {
        int Count = 0;
        void FSCommand(TObject*, const std::wstring&, const std::wstring&) { ++Count; }
    } commands;
    Player->BeginLoading();
    Player->SetMovie(L"clip.swf");
    Player->SetOnFSCommand(TznFSCommandEvent::Bind<&TCommands::FSCommand>(&commands));
    EXPECT_TRUE(LogLines(L"LoadMovie clip").empty()) << "only recorded while loading";
    FillBuffer(Junk);
    Player->EndReading();
    Player->Loaded();
    EXPECT_THAT(LogLines(L"LoadMovie clip"), ElementsAre(L"LoadMovie clip.swf"));
    EXPECT_EQ(Driver().Pixel(0, 0) & 0xFFFFFFu, PatternColor(13, 17)) << "buffer prepared";
    Driver().DoFSCommand(L"quit", L"");
    EXPECT_EQ(commands.Count, 1);
}

TEST_F(GraphicControlTest, InTheDesignerDriverUpdatesDoNotPaint)
{
    Player->SetDesigning(true);
    FillBuffer(0xFF0000FFu);
    Driver().Render(Rect(0, 0, 60, 40), [](HDC) {});
    EXPECT_NE(WindowPixel(Form->Handle(), 13 + 30, 17 + 30), 0x0000FFu);
}

TEST(GraphicControlWithoutPlayer, ShowsItsBackground)
{
    TNoPlayerHosts hosts;
    TPatternForm form(nullptr);
    form.SetBounds(40, 40, 200, 160);
    auto* player = new TznFlashPlayer(&form);
    player->SetBounds(8, 8, 40, 40);
    player->SetTransparent(false);
    player->SetColor(Teal);
    player->SetParent(&form);
    form.Show();
    player->Play();
    player->SetCurrentFrame(4);
    EXPECT_EQ(player->GetTotalFrames(), 0);
    EXPECT_EQ(player->GetVariable(L"x"), L"");
    // A driver change erases the new buffer; the parent repaints from it.
    player->SetPlugin(znActiveX);
    UpdateWindow(form.Handle());
    PumpMessages();
    EXPECT_EQ(WindowPixel(form.Handle(), 8 + 20, 8 + 20), 0x118899u);
}

} // namespace
