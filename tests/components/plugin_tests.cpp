// The components on the reference plug-in beside the executable, through the Netscape driver:
// real alpha in the non-visual component's pixels, keys and characters of the windowed control
// in the plug-in's log, the graphic control's movie over its parent on screen, and a driver
// change that loads the movie into a fresh plug-in instance; event handlers assigned in code
// on every player component.
#include "test_windows.h"

#include "zintara/zn_driver_netscape.h"
#include "zintara/zn_flashplayer.h"
#include "zintara/zn_layer.h"

#include "sample_movies.h"
#include "support/reference_plugin_exports.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace zn;
using namespace zn::test;

namespace {

// The sample movie, 320 x 240: an opaque green square, a red circle at alpha 128 over it and
// beside it. Points inside the square only, inside the circle only, and outside both.
const std::wstring MovieName = L"components sample.swf";
constexpr int SquareX = 150, SquareY = 150;
constexpr int CircleOnlyX = 28, CircleOnlyY = 120;
constexpr int EmptyX = 5, EmptyY = 5;

void WriteSampleMovie()
{
    const std::vector<std::uint8_t> bytes = zn::swf::samples::SampleMovie();
    std::ofstream file("components sample.swf", std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// The plug-in's test controls; null when the plug-in is not loaded.
TReferencePluginExports PluginControls()
{
    return ReferencePluginExports(GetModuleHandleW(L"npswf32.dll"));
}

// The plug-in's log since the last call, one call per line.
std::vector<std::string> TakePluginLog()
{
    const ZnNpTakeLogFunction take = PluginControls().TakeLog;
    return take ? TakeLines(take) : std::vector<std::string>{};
}

std::vector<std::string> EventsOfType(const std::vector<std::string>& Log, int Event)
{
    std::vector<std::string> events;
    const std::string marker = " event=" + std::to_string(Event) + " ";
    for (const std::string& line : Log)
        if (line.starts_with("NPP_HandleEvent") && line.find(marker) != std::string::npos)
            events.push_back(line);
    return events;
}

bool Near(std::uint32_t Actual, std::uint32_t Expected, int Tolerance = 2)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>(Actual >> shift & 0xFF);
        const int e = static_cast<int>(Expected >> shift & 0xFF);
        if (a - e > Tolerance || e - a > Tolerance)
            return false;
    }
    return true;
}

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(NetscapeFlashDriverClass.PluginExists());
        WriteSampleMovie();
        TakePluginLog();
    }
};

TEST_F(PluginTest, TheNonVisualComponentHoldsPremultipliedAlpha)
{
    TznFlashPlayerComp comp(nullptr);
    ASSERT_NE(dynamic_cast<TznFlashDriverNS*>(comp.Driver()), nullptr);
    comp.SetWidth(320);
    comp.SetHeight(240);
    std::vector<TRect> painted;
    struct TRecorder {
        std::vector<TRect>* Rects;
        void Paint(TObject*, const TRect& R) { Rects->push_back(R); }
    } recorder{&painted};
    comp.SetOnPaint(TznPaintEvent::Bind<&TRecorder::Paint>(&recorder));
    comp.SetMovie(MovieName);
    comp.StopPlay();
    comp.Rewind();
    painted.clear();
    comp.Driver()->ForceUpdate();
    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(painted.back(), Rect(0, 0, 320, 240));

    auto pixel = [&](int X, int Y) {
        return static_cast<const std::uint32_t*>(comp.Scanline(Y))[X];
    };
    EXPECT_TRUE(Near(pixel(SquareX, SquareY), 0xFF00B400u)) << std::hex << pixel(SquareX, SquareY);
    EXPECT_TRUE(Near(pixel(CircleOnlyX, CircleOnlyY), 0x80800000u))
        << std::hex << pixel(CircleOnlyX, CircleOnlyY);
    EXPECT_EQ(pixel(EmptyX, EmptyY), 0u);
}

TEST_F(PluginTest, TheWindowedControlsKeysAndCharactersReachThePlugin)
{
    TPatternForm form(nullptr);
    form.SetBounds(40, 40, 360, 300);
    auto* player = new TznFlashPlayerWnd(&form);
    player->SetParent(&form);
    player->SetBounds(0, 0, 320, 240);
    player->SetMovie(MovieName);
    form.Show();
    PumpMessages();
    TakePluginLog();

    const HWND window = player->Handle();
    SendMessageW(window, WM_KEYDOWN, 'A', 0x001E0001);
    SendMessageW(window, WM_CHAR, 'x', 0x001E0001);
    SendMessageW(window, WM_CHAR, '\t', 0x000F0001);
    SendMessageW(window, WM_KEYUP, 'A', 0xC01E0001);
    const std::vector<std::string> log = TakePluginLog();
    const auto downs = EventsOfType(log, WM_KEYDOWN);
    const auto chars = EventsOfType(log, WM_CHAR);
    const auto ups = EventsOfType(log, WM_KEYUP);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_NE(downs[0].find("wParam=0x00000041"), std::string::npos) << downs[0];
    ASSERT_EQ(chars.size(), 1u) << "Tab is not passed on";
    EXPECT_NE(chars[0].find("wParam=0x00000078"), std::string::npos) << chars[0];
    EXPECT_EQ(ups.size(), 1u);
}

TEST_F(PluginTest, TheGraphicControlShowsTheMovieOverItsParent)
{
    TPatternForm form(nullptr);
    form.SetBounds(40, 40, 380, 300);
    auto* player = new TznFlashPlayer(&form);
    player->SetParent(&form);
    player->SetBounds(8, 4, 320, 240);
    form.Show();
    UpdateWindow(form.Handle());
    player->SetMovie(MovieName);
    player->StopPlay();
    player->Rewind();
    player->Driver()->ForceUpdate();
    const HWND window = form.Handle();
    EXPECT_EQ(WindowPixel(window, 8 + EmptyX, 4 + EmptyY), PatternColor(8 + EmptyX, 4 + EmptyY));
    EXPECT_TRUE(Near(WindowPixel(window, 8 + SquareX, 4 + SquareY), 0x00B400u))
        << std::hex << WindowPixel(window, 8 + SquareX, 4 + SquareY);
    // Half-covering red over the pattern: red near 0x80 plus half the pattern's red.
    const std::uint32_t behind = PatternColor(8 + CircleOnlyX, 4 + CircleOnlyY);
    const std::uint32_t blended = WindowPixel(window, 8 + CircleOnlyX, 4 + CircleOnlyY);
    EXPECT_TRUE(Near(blended,
                     ((0x80 + ((behind >> 16) & 0xFF) / 2) << 16) |
                         ((((behind >> 8) & 0xFF) / 2) << 8) | ((behind & 0xFF) / 2),
                     3))
        << std::hex << blended << " over " << behind;
}

TEST_F(PluginTest, ADriverChangeLoadsTheMovieIntoAFreshInstance)
{
    TznFlashPlayerComp comp(nullptr);
    comp.SetMovie(MovieName);
    comp.SetVolume(90);
    TakePluginLog();
    comp.SetPlugin(znNetscape);
    std::vector<std::string> loads;
    for (const std::string& line : TakePluginLog())
        if (line.starts_with("NPObject.Invoke") &&
            line.find("method=\"LoadMovie\"") != std::string::npos)
            loads.push_back(line);
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_NE(loads[0].find("\"components sample.swf\""), std::string::npos) << loads[0];
    EXPECT_EQ(comp.Volume(), 50);
}

// What the movie raised, through a handler assigned in code.
struct TMovieEvents {
    void FSCommand(TObject* Sender, const std::wstring& Command, const std::wstring& Args)
    {
        Senders.push_back(Sender);
        Commands.push_back(Command + L"|" + Args);
    }
    void FlashCall(TObject* Sender, const std::wstring& Request)
    {
        Senders.push_back(Sender);
        Requests.push_back(Request);
    }
    TznFSCommandEvent OnFSCommand()
    {
        return TznFSCommandEvent::Bind<&TMovieEvents::FSCommand>(this);
    }
    TznFlashCallEvent OnFlashCall()
    {
        return TznFlashCallEvent::Bind<&TMovieEvents::FlashCall>(this);
    }

    std::vector<TObject*> Senders;
    std::vector<std::wstring> Commands, Requests;
};

template <class TPlayer>
class HandlerInCodeTest : public PluginTest {
protected:
    // The movie sends an FSCommand, or calls the host's function, through the plug-in.
    void SendFSCommand(const char* Command)
    {
        const ZnNpFSCommandFunction send = PluginControls().FSCommand;
        ASSERT_NE(send, nullptr);
        ASSERT_EQ(send(Npp(), Command, "x"), 0);
    }
    void CallHost()
    {
        const ZnNpExternalCallFunction call = PluginControls().ExternalCall;
        ASSERT_NE(call, nullptr);
        char answer[64] = {};
        ASSERT_GE(call(Npp(), "hostFunction", nullptr, 0, answer, sizeof answer), 0);
    }
    void* Npp() { return dynamic_cast<TznFlashDriverNS&>(*Player.Driver()).Instance(); }

    TPlayer Player{nullptr};
};

using PlayerClasses =
    ::testing::Types<TznFlashPlayer, TznFlashPlayerWnd, TznFlashPlayerComp, TznFlashLayer>;
TYPED_TEST_SUITE(HandlerInCodeTest, PlayerClasses);

TYPED_TEST(HandlerInCodeTest, FSCommandHandlersReachThePlayerAtOnce)
{
    TMovieEvents first, second;
    this->Player.SetOnFSCommand(first.OnFSCommand());
    this->Player.SetMovie(MovieName);
    this->SendFSCommand("before");
    EXPECT_EQ(first.Commands, std::vector<std::wstring>{L"before|x"});
    EXPECT_EQ(first.Senders, std::vector<TObject*>{this->Player.Driver()}) << "the driver sends";

    this->Player.SetOnFSCommand(second.OnFSCommand());
    this->SendFSCommand("replaced");
    EXPECT_EQ(second.Commands, std::vector<std::wstring>{L"replaced|x"});
    this->Player.SetOnFSCommand(nullptr);
    this->SendFSCommand("cleared");
    EXPECT_EQ(first.Commands.size() + second.Commands.size(), 2u);
}

TYPED_TEST(HandlerInCodeTest, FlashCallHandlersReachThePlayerAtOnce)
{
    TMovieEvents before, after;
    this->Player.SetOnFlashCall(before.OnFlashCall());
    this->Player.SetMovie(MovieName);
    ASSERT_EQ(before.Requests.size(), 1u) << "the first frame calls out";
    EXPECT_NE(before.Requests[0].find(L"movieReady"), std::wstring::npos);

    this->Player.SetOnFlashCall(after.OnFlashCall());
    this->CallHost();
    ASSERT_EQ(after.Requests.size(), 1u);
    EXPECT_NE(after.Requests[0].find(L"hostFunction"), std::wstring::npos);
    EXPECT_EQ(after.Senders[0], this->Player.Driver());
    this->Player.SetOnFlashCall(nullptr);
    this->CallHost();
    EXPECT_EQ(before.Requests.size() + after.Requests.size(), 2u);
}

} // namespace
