// The plug-in's start-up, its instances, input and movie control, as the plug-in's log records
// them.
#include "driver_fixture.h"

#include "zintara/hosts/driver_selection.h"

using namespace zn;
using namespace zn::test;

namespace {

// The start-up calls happen once per process, on the first use of the driver's unit: the
// environment makes that use before any test and keeps what the plug-in logged.
std::vector<std::string> StartUpLog;

class StartUpEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        TReferencePlugin::Loaded();
        StartUpLog = TakeLog();
    }
};

const auto* const StartUp = ::testing::AddGlobalTestEnvironment(new StartUpEnvironment);

// Leaves non-zero bytes on the stack below the caller, where the next calls build their records.
__attribute__((noinline)) void SoilTheStack()
{
    volatile unsigned char soil[16384];
    for (auto& byte : soil)
        byte = 0xA5;
}

} // namespace

TEST(PluginStartUp, EntryPointsThenInitialiseWithTheBrowserTableThenLocalSecurity)
{
    EXPECT_EQ(CallOrder(StartUpLog), (std::vector<std::string>{"NP_GetEntryPoints", "NP_Initialize",
                                                               "Flash_DisableLocalSecurity"}));
    ASSERT_EQ(LinesOf(StartUpLog, "NP_Initialize").size(), 1u);
    EXPECT_TRUE(Contains(LinesOf(StartUpLog, "NP_Initialize")[0], "size=172 version=18"));
}

TEST(PluginStartUp, SelectionPicksThisDriverWhenOnlyThePluginIsInstalled)
{
    std::unique_ptr<TznFlashDriver> driver;
    ChangePlugin(driver, znNetscape, L"", 10, 10, 0xFF000000u, nullptr, {}, {}, {}, {});
    EXPECT_NE(dynamic_cast<TznFlashDriverNS*>(driver.get()), nullptr);
    driver.reset();
}

TEST_F(DriverTest, AnInstanceIsWindowlessTransparentAndSizedToTheBuffer)
{
    Driver = std::make_unique<TznFlashDriverNS>(120, 80, 0u);
    const auto log = TakeLog();
    EXPECT_EQ(CallOrder(log), (std::vector<std::string>{"NPP_New", "NPP_GetValue"}));
    const std::string created = LinesOf(log, "NPP_New").at(0);
    EXPECT_TRUE(Contains(created, "mime=\"application/x-shockwave-flash\" mode=1 argc=4"));
    EXPECT_TRUE(Contains(created, "wmode=\"transparent\" bgcolor=\"#0\" width=\"120\" "
                                  "height=\"80\""));
    EXPECT_TRUE(Contains(LinesOf(log, "NPP_GetValue").at(0), "variable=15"));
    EXPECT_NE(Driver->ScriptableObject(), nullptr);

    Driver.reset();
    EXPECT_EQ(CallOrder(TakeLog()), std::vector<std::string>{"NPP_Destroy"});
}

TEST_F(DriverTest, EveryMovieGetsAFreshInstance)
{
    CreateDriver(0u);
    Driver->LoadMovie(SampleMovieName);
    const auto order = CallOrder(TakeLog());
    ASSERT_GE(order.size(), 4u);
    EXPECT_EQ(
        std::vector<std::string>(order.begin(), order.begin() + 4),
        (std::vector<std::string>{"NPP_Destroy", "NPP_New", "NPP_GetValue", "NPObject.Invoke"}));
    EXPECT_EQ(TReferencePlugin::Loaded().LiveInstances(), 1u);
}

TEST_F(DriverTest, AnEmptyNameLoadsNothing)
{
    CreateDriver(0u);
    Driver->LoadMovie(L"");
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(DriverTest, ResizingAnnouncesTheNewBufferAsADrawable)
{
    CreateDriver(0xFF000000u, 100, 50);
    Driver->Resize(64, 32);
    const auto windows = LinesOf(TakeLog(), "NPP_SetWindow");
    ASSERT_FALSE(windows.empty());
    EXPECT_TRUE(Contains(windows[0], "x=0 y=0 width=64 height=32 type=2"));
    EXPECT_EQ(Driver->Window().window, Driver->BufferDC());
}

TEST_F(DriverTest, MouseInputArrivesAsWindowMessagesWithKeyFlags)
{
    CreateDriver(0u);
    Driver->MouseDown(mbLeft, TShiftState{ssShift, ssLeft}, 10, 20);
    Driver->MouseMove(TShiftState{ssCtrl}, 11, 21);
    Driver->MouseUp(mbLeft, TShiftState{}, 12, 22);
    Driver->MouseDown(mbMiddle, TShiftState{}, 1, 1);
    bool handled = false;
    Driver->MouseWheel(TShiftState{}, 5, 6, -120, handled);
    const auto events = LinesOf(TakeLog(), "NPP_HandleEvent");
    ASSERT_EQ(events.size(), 4u);
    EXPECT_TRUE(Contains(events[0], "event=513 wParam=0x00000005 lParam=0x0014000a"));
    EXPECT_TRUE(Contains(events[1], "event=512 wParam=0x00000008 lParam=0x0015000b"));
    EXPECT_TRUE(Contains(events[2], "event=514 wParam=0x00000000 lParam=0x0016000c"));
    EXPECT_TRUE(Contains(events[3], "event=522 wParam=0xff880000 lParam=0x00060005"));
    EXPECT_FALSE(handled);
}

TEST_F(DriverTest, TheRightButtonPressIsWithheldWhileTheFlashMenuIsDisabled)
{
    CreateDriver(0u);
    ASSERT_TRUE(Driver->DisableFlashMenu());
    Driver->MouseDown(mbRight, TShiftState{}, 3, 4);
    Driver->MouseUp(mbRight, TShiftState{}, 3, 4);
    const auto events = LinesOf(TakeLog(), "NPP_HandleEvent");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(Contains(events[0], "event=517"));

    Driver->SetDisableFlashMenu(false);
    Driver->MouseDown(mbRight, TShiftState{}, 3, 4);
    const auto pressed = LinesOf(TakeLog(), "NPP_HandleEvent");
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_TRUE(Contains(pressed[0], "event=516"));
}

TEST_F(DriverTest, KeysAndCharactersArriveAsKeyMessages)
{
    CreateDriver(0u);
    std::uint16_t key = VK_RETURN;
    wchar_t character = L'\u00e9';
    Driver->KeyDown(key, TShiftState{ssShift});
    Driver->KeyPress(character, TShiftState{});
    Driver->KeyUp(key, TShiftState{});
    const auto events = LinesOf(TakeLog(), "NPP_HandleEvent");
    char expected_byte = 0;
    WideCharToMultiByte(CP_ACP, 0, &character, 1, &expected_byte, 1, nullptr, nullptr);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_TRUE(Contains(events[0], "event=256 wParam=0x0000000d lParam=0x00000004"));
    char byte_text[16];
    snprintf(byte_text, sizeof byte_text, "0x%08x", static_cast<unsigned char>(expected_byte));
    EXPECT_TRUE(Contains(events[1], std::string("event=258 wParam=") + byte_text));
    EXPECT_TRUE(Contains(events[2], "event=257 wParam=0x0000000d"));
}

// An event record's padding after its 16-bit event is zero, whatever the stack held before.
TEST_F(DriverTest, EventRecordsCarryNoStackGarbage)
{
    CreateDriver(0u);
    Driver->LoadMovie(SampleMovieName);
    TakeLog();
    std::uint16_t key = VK_SPACE;
    SoilTheStack();
    Driver->MouseMove(TShiftState{}, 1, 2);
    SoilTheStack();
    Driver->KeyDown(key, TShiftState{});
    SoilTheStack();
    Driver->ForceUpdate();
    const auto events = LinesOf(TakeLog(), "NPP_HandleEvent");
    ASSERT_GE(events.size(), 3u);
    for (const std::string& event : events)
        EXPECT_FALSE(Contains(event, "padding=")) << event;
}

TEST_F(DriverTest, MovieControlGoesThroughTheScriptableObject)
{
    CreateDriver(0u);
    Driver->LoadMovie(SampleMovieName);
    TakeLog();
    Driver->StopPlay();
    Driver->SetCurrentFrame(3);
    Driver->SetLoop(true);
    EXPECT_EQ(Driver->GetTotalFrames(), 8);
    EXPECT_FALSE(Driver->GetIsPlaying());
    EXPECT_TRUE(Driver->GetLoop());
    const auto invokes = LinesOf(TakeLog(), "NPObject.Invoke");
    ASSERT_GE(invokes.size(), 2u);
    EXPECT_TRUE(Contains(invokes[0], "method=\"StopPlay\""));
    EXPECT_TRUE(Contains(invokes[1], "method=\"GotoFrame\" args=(3)"));
}
