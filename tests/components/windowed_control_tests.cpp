// The windowed player control on a real form: focus, dialog codes, keys and characters, paint
// on WM_PAINT without erasing, and the background with its alpha mask.
#include "test_driver.h"
#include "test_windows.h"
#include "zintara/framework/handles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

using namespace zn;
using namespace zn::test;
using ::testing::ElementsAre;

namespace {

constexpr TColor Teal = 0x00998811;

class WindowedControlTest : public ::testing::Test {
public:
    void OnKeyDown(TObject*, std::uint16_t& Key, TShiftState) { FrameworkKeys.push_back(Key); }
    void OnKeyPress(TObject*, wchar_t& Key) { FrameworkChars.push_back(Key); }

protected:
    WindowedControlTest()
    {
        Form->SetBounds(40, 40, 260, 200);
        Player = new TznFlashPlayerWnd(Form.get());
        Player->SetBounds(10, 12, 80, 60);
        Player->SetParent(Form.get());
        Player->OnKeyDown = TKeyEvent::Bind<&WindowedControlTest::OnKeyDown>(this);
        Player->OnKeyPress = TKeyPressEvent::Bind<&WindowedControlTest::OnKeyPress>(this);
        Form->Show();
        UpdateWindow(Form->Handle());
        PumpMessages();
        TTestDriver::Log().clear();
    }

    TTestDriver& Driver() { return static_cast<TTestDriver&>(*Player->Driver()); }
    HWND Window() { return Player->Handle(); }
    void FillBuffer(std::uint32_t Value)
    {
        FillLongword(Driver().BufferBits(), Driver().Width() * Driver().Height(), Value);
    }

    TTestDriverHosts Hosts;
    std::unique_ptr<TPatternForm> Form = std::make_unique<TPatternForm>(nullptr);
    TznFlashPlayerWnd* Player = nullptr;
    std::vector<std::uint16_t> FrameworkKeys;
    std::vector<wchar_t> FrameworkChars;
};

TEST_F(WindowedControlTest, StartsAsAnOpaqueTabStopAt100By100)
{
    TznFlashPlayerWnd fresh(nullptr);
    EXPECT_EQ(fresh.Width(), 100);
    EXPECT_EQ(fresh.Height(), 100);
    EXPECT_TRUE(fresh.TabStop());
    EXPECT_TRUE(fresh.DisableFlashMenu());
    EXPECT_EQ(fresh.Plugin(), znDefault);
    EXPECT_FALSE(static_cast<TTestDriver&>(*fresh.Driver()).Transparent());
}

TEST_F(WindowedControlTest, AnswersDialogCode0x83)
{
    EXPECT_EQ(SendMessageW(Window(), WM_GETDLGCODE, 0, 0), 0x83);
    EXPECT_EQ(SendMessageW(Window(), WM_GETDLGCODE, VK_TAB, 0), 0x83);
}

TEST_F(WindowedControlTest, APressTakesTheFocusBeforeThePlayerSeesIt)
{
    SetFocus(Form->Handle());
    SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 9));
    EXPECT_EQ(Driver().FocusAtMouseDown, Window());
    SendMessageW(Window(), WM_LBUTTONUP, 0, MAKELPARAM(7, 9));
    EXPECT_THAT(LogLines(L"Mouse"), ElementsAre(L"MouseDown 0 8 7,9", L"MouseUp 0 0 7,9"));
}

TEST_F(WindowedControlTest, KeysReachThePlayerAndAConsumedOneReachesTheEventsAsZero)
{
    Driver().ConsumedKey = VK_LEFT;
    SendMessageW(Window(), WM_KEYDOWN, 'A', 0x001E0001);
    SendMessageW(Window(), WM_KEYDOWN, VK_LEFT, 0x014B0001);
    SendMessageW(Window(), WM_KEYUP, 'A', 0xC01E0001);
    EXPECT_THAT(LogLines(L"Key"), ElementsAre(L"KeyDown 65 0", L"KeyDown 37 0", L"KeyUp 65 0"));
    EXPECT_THAT(FrameworkKeys, ElementsAre(65, 0));
}

TEST_F(WindowedControlTest, CharactersFromSpaceUpReachThePlayerControlCharactersNever)
{
    for (wchar_t ch : {L'x', L'\t', L'\r', L' ', L'\x1B', L'\x00E9'})
        SendMessageW(Window(), WM_CHAR, ch, 1);
    EXPECT_THAT(LogLines(L"KeyPress"),
                ElementsAre(L"KeyPress x 0", L"KeyPress   0", L"KeyPress \x00E9 0"));
    EXPECT_EQ(FrameworkChars.size(), 6u) << "every character still reaches the framework";
}

TEST_F(WindowedControlTest, WMPaintCopiesTheWholeBufferAndWMEraseBkgndErasesNothing)
{
    FillBuffer(0xFF0000FFu);
    Driver().BufferBits()[59 * 80 + 79] = 0xFFFF0000u;
    InvalidateRect(Window(), nullptr, FALSE);
    UpdateWindow(Window());
    EXPECT_EQ(WindowPixel(Window(), 40, 30), 0x0000FFu);
    EXPECT_EQ(WindowPixel(Window(), 79, 59), 0xFF0000u);

    const TWindowDC dc = WindowDC(Window());
    EXPECT_EQ(SendMessageW(Window(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get().Value), 0),
              1);
    EXPECT_EQ(WindowPixel(Window(), 40, 30), 0x0000FFu);
}

TEST_F(WindowedControlTest, DriverUpdatesOnlyInvalidateTheWindow)
{
    UpdateWindow(Window());
    FillBuffer(0xFF00FF00u);
    Driver().Render(Rect(0, 0, 5, 5), [](HDC) {});
    RECT pending{};
    EXPECT_TRUE(GetUpdateRect(Window(), &pending, FALSE));
    EXPECT_EQ(pending.right - pending.left, 80) << "the whole client area";
    EXPECT_NE(WindowPixel(Window(), 40, 30), 0x00FF00u) << "not painted yet";
    UpdateWindow(Window());
    EXPECT_EQ(WindowPixel(Window(), 40, 30), 0x00FF00u);
}

TEST_F(WindowedControlTest, EraseFillsTheOpaqueColourAndAColourChangeRepaintsOnce)
{
    const int before = Driver().ForcedUpdates;
    Player->SetColor(Teal);
    EXPECT_EQ(Driver().Background(), 0xFF118899u);
    EXPECT_EQ(Driver().ForcedUpdates, before + 1);
    FillBuffer(0u);
    Driver().OnEraseBackground()(&Driver(), Rect(2, 2, 3, 3));
    EXPECT_EQ(Driver().Pixel(2, 2), 0xFF118899u);
    EXPECT_EQ(Driver().Pixel(3, 2), 0u);
}

TEST_F(WindowedControlTest, WheelPassesTheScreenPositionAndThePlayersAnswer)
{
    Driver().WheelHandled = false;
    SetFocus(Window());
    const TPoint screen = Player->ClientToScreen(TPoint{3, 4});
    SendMessageW(Window(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                 MAKELPARAM(screen.X, screen.Y));
    EXPECT_THAT(LogLines(L"MouseWheel"),
                ElementsAre(L"MouseWheel 0 " + std::to_wstring(screen.X) + L"," +
                            std::to_wstring(screen.Y) + L" -120 unhandled"));
}

TEST_F(WindowedControlTest, InTheDesignerUpdatesDoNotInvalidate)
{
    Player->SetDesigning(true);
    UpdateWindow(Window());
    Driver().Render(Rect(0, 0, 5, 5), [](HDC) {});
    EXPECT_FALSE(GetUpdateRect(Window(), nullptr, FALSE));
}

TEST(WindowedControlWithoutPlayer, IsSafeAndShowsItsBackground)
{
    TNoPlayerHosts hosts;
    TPatternForm form(nullptr);
    form.SetBounds(40, 40, 200, 160);
    auto* player = new TznFlashPlayerWnd(&form);
    player->SetBounds(8, 8, 40, 40);
    player->SetParent(&form);
    player->SetColor(Teal);
    player->SetPlugin(znNetscape);
    form.Show();
    UpdateWindow(form.Handle());
    PumpMessages();
    SendMessageW(player->Handle(), WM_KEYDOWN, 'A', 1);
    SendMessageW(player->Handle(), WM_CHAR, 'a', 1);
    SendMessageW(player->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(player->CallFunction(L"<invoke name=\"f\"/>"), L"");
    EXPECT_EQ(WindowPixel(player->Handle(), 20, 20), 0x118899u);
}

} // namespace
