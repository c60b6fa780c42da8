// Mouse and keyboard reach the control as window messages through OnWindowMessage, with the
// key-state flags of the shift state; a handled mouse message lets the control set its cursor;
// a right-button press lets the site name the parent window, once.
#include "control_fixture.h"

#include "zintara/framework/forms.h"

using namespace zn;
using namespace zn::test;

namespace {

class InputTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateDriverWithStoppedMovie(0x00000000u);
    }

    // The messages the control received, "msg wParam lParam" each.
    std::vector<std::string> Messages()
    {
        std::vector<std::string> messages;
        for (const std::string& line :
             LinesOf(TakeLog(), "IOleInPlaceObjectWindowless.OnWindowMessage"))
            messages.push_back(line.substr(line.find("msg=")));
        return messages;
    }
};

TEST_F(InputTest, MouseMessagesCarryKeyFlagsAndThePointAndLetTheControlSetItsCursor)
{
    Driver->MouseDown(mbLeft, {ssLeft, ssShift}, 10, 20);
    Driver->MouseMove({ssLeft, ssCtrl, ssAlt}, 11, 21);
    Driver->MouseUp(mbLeft, {}, 12, 22);
    const std::string set_cursor = "msg=32 wParam=0 lParam=33554433";
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"msg=513 wParam=5 lParam=1310730", set_cursor,
                                        "msg=512 wParam=41 lParam=1376267", set_cursor,
                                        "msg=514 wParam=0 lParam=1441804", set_cursor}));
}

TEST_F(InputTest, TheWheelPacksItsDeltaAboveTheFlags)
{
    bool handled = false;
    Driver->MouseWheel({ssCtrl}, 5, 6, -120, handled);
    const auto messages = Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0], "msg=522 wParam=" + std::to_string(0xFF880008u) + " lParam=393221");
    EXPECT_FALSE(handled);
}

TEST_F(InputTest, WithTheFlashCursorDisabledTheControlIsNeverAskedToSetIt)
{
    Driver->SetDisableFlashCursor(true);
    Driver->MouseMove({}, 1, 1);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"msg=512 wParam=0 lParam=65537"}));
}

TEST_F(InputTest, KeysAndCharactersAreTakenWhenTheControlHandlesThem)
{
    std::uint16_t key = 'A';
    Driver->KeyDown(key, {ssShift});
    EXPECT_EQ(key, 0);
    key = 'A';
    Driver->KeyUp(key, {});
    EXPECT_EQ(key, 0);
    wchar_t character = L'x';
    Driver->KeyPress(character, {ssCtrl});
    EXPECT_EQ(character, L'\0');
    // One message per byte of the character in the system code page.
    character = L'\u00E9';
    Driver->KeyPress(character, {});
    char bytes[10];
    const wchar_t e_acute = L'\u00E9';
    const int count =
        WideCharToMultiByte(CP_ACP, 0, &e_acute, 1, bytes, sizeof bytes, nullptr, nullptr);
    std::vector<std::string> expected{"msg=256 wParam=65 lParam=4", "msg=257 wParam=65 lParam=0",
                                      "msg=258 wParam=120 lParam=8"};
    for (int i = 0; i < count; ++i)
        expected.push_back(
            "msg=258 wParam=" + std::to_string(static_cast<unsigned char>(bytes[i])) + " lParam=0");
    EXPECT_EQ(Messages(), expected);
}

// The press is moved by the graphic control's place in its parent window, and the site names
// that window while the control handles it, once; without the menu neither happens.
TEST_F(InputTest, ARightButtonPressLetsTheSiteNameTheParentWindowOnce)
{
    TForm form(nullptr);
    form.HandleNeeded();
    Driver->SetParentControl(&form);
    Driver->SetDisableFlashMenu(false);
    Driver->MouseDown(mbRight, {ssRight}, 10, 20);
    const auto log = TakeLog();
    const auto windows = LinesOf(log, "Site.GetWindow");
    ASSERT_EQ(windows.size(), 1u) << "the reference control asks for a window on a right press";
    char window[24];
    std::snprintf(window, sizeof window, "window=0x%08x",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(form.Handle())));
    EXPECT_TRUE(Contains(windows[0], window)) << windows[0];
    EXPECT_TRUE(Contains(windows[0], "hr=0x00000000")) << windows[0];

    Driver->SetDisableFlashMenu(true);
    Driver->MouseDown(mbRight, {ssRight}, 10, 20);
    const auto later = LinesOf(TakeLog(), "Site.GetWindow");
    for (const std::string& line : later)
        EXPECT_TRUE(Contains(line, "window=0x00000000 hr=0x80004005")) << line;
    Driver->SetParentControl(nullptr);
}

TEST_F(InputTest, OtherButtonsSendNothing)
{
    Driver->MouseDown(mbMiddle, {}, 1, 1);
    Driver->MouseUp(mbMiddle, {}, 1, 1);
    EXPECT_TRUE(Messages().empty());
}

} // namespace
