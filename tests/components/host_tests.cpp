// The components on each Flash host: the reference plug-in beside the executable through the
// Netscape driver, and the reference control registered in the prefix through the ActiveX
// driver. Real alpha in the non-visual component's pixels, keys and characters of the windowed
// control in the player's log, the graphic control's movie over its parent on screen, and a
// driver change that loads the movie into a fresh player; event handlers assigned in code on
// every player component.
#include "test_windows.h"

#include "zintara/zn_driver_activex.h"
#include "zintara/zn_driver_netscape.h"
#include "zintara/zn_flashplayer.h"
#include "zintara/zn_layer.h"

#include "sample_movies.h"
#include "support/reference_control_exports.h"
#include "support/reference_plugin_exports.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>
#include <regex>
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

// What a test needs of one Flash host: the preference that picks it, its driver class, and the
// reference player's log and test controls, each read the host's own way.
struct THost {
    const wchar_t* Name;
    TznPlugin Plugin;
    const TClassInfo& (*DriverClass)();
    // The player's log since the last call, one call per line.
    std::vector<std::string> (*TakeLog)();
    // The window messages of Message the player received, their wParam each.
    std::vector<unsigned> (*Messages)(const std::vector<std::string>& Log, unsigned Message);
    // The movie names the player was asked to load.
    std::vector<std::string> (*Loads)(const std::vector<std::string>& Log);
    // The movie in the player of Driver raises an FSCommand, or calls the host's function.
    bool (*SendFSCommand)(TznFlashDriver& Driver, const char* Command, const char* Args);
    bool (*CallHost)(TznFlashDriver& Driver, const char* Function);
};

// Each line of Log matching Pattern contributes its first group.
std::vector<std::string> Matches(const std::vector<std::string>& Log, const std::regex& Pattern)
{
    std::vector<std::string> found;
    std::smatch match;
    for (const std::string& line : Log)
        if (std::regex_search(line, match, Pattern))
            found.push_back(match[1]);
    return found;
}

std::vector<unsigned> Numbers(const std::vector<std::string>& Texts)
{
    std::vector<unsigned> numbers;
    for (const std::string& text : Texts)
        numbers.push_back(static_cast<unsigned>(std::stoul(text, nullptr, 0)));
    return numbers;
}

TReferencePluginExports PluginControls()
{
    return ReferencePluginExports(GetModuleHandleW(L"npswf32.dll"));
}

void* InstanceOf(TznFlashDriver& Driver)
{
    return dynamic_cast<TznFlashDriverNS&>(Driver).Instance();
}

// The control's identity, by which its test controls name it.
void* ControlOf(TznFlashDriver& Driver)
{
    IznFlashPlayer* control = dynamic_cast<TznFlashDriverActiveX&>(Driver).ControlInterface();
    IUnknown* identity = nullptr;
    if (control == nullptr ||
        FAILED(control->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))))
        return nullptr;
    identity->Release();
    return identity;
}

const THost NetscapeHost{
    L"Netscape",
    znNetscape,
    &TznFlashDriverNS::ClassInfo,
    [] {
        const auto take = PluginControls().TakeLog;
        return take ? TakeLines(take) : std::vector<std::string>{};
    },
    [](const std::vector<std::string>& Log, unsigned Message) {
        return Numbers(Matches(Log, std::regex("^NPP_HandleEvent .* event=" +
                                               std::to_string(Message) + " wParam=(0x[0-9a-f]+)")));
    },
    [](const std::vector<std::string>& Log) {
        return Matches(
            Log, std::regex(R"re(^NPObject.Invoke .*method="LoadMovie" args=\(0, "([^"]*)")re"));
    },
    [](TznFlashDriver& Driver, const char* Command, const char* Args) {
        const auto send = PluginControls().FSCommand;
        return send && send(InstanceOf(Driver), Command, Args) == 0;
    },
    [](TznFlashDriver& Driver, const char* Function) {
        const auto call = PluginControls().ExternalCall;
        char answer[64] = {};
        return call && call(InstanceOf(Driver), Function, nullptr, 0, answer, sizeof answer) >= 0;
    }};

const THost ActiveXHost{
    L"ActiveX",
    znActiveX,
    &TznFlashDriverActiveX::ClassInfo,
    [] {
        const auto take = ReferenceControlExports().TakeLog;
        return take ? TakeLines(take) : std::vector<std::string>{};
    },
    [](const std::vector<std::string>& Log, unsigned Message) {
        return Numbers(
            Matches(Log, std::regex("^IOleInPlaceObjectWindowless.OnWindowMessage .* msg=" +
                                    std::to_string(Message) + " wParam=([0-9]+)")));
    },
    [](const std::vector<std::string>& Log) {
        return Matches(Log, std::regex(R"re(^IznFlashPlayer.LoadMovie .*url="([^"]*)")re"));
    },
    [](TznFlashDriver& Driver, const char* Command, const char* Args) {
        const auto send = ReferenceControlExports().FSCommand;
        return send && send(ControlOf(Driver), Command, Args) == S_OK;
    },
    [](TznFlashDriver& Driver, const char* Function) {
        const auto call = ReferenceControlExports().FlashCall;
        const std::string request = "<invoke name=\"" + std::string(Function) +
                                    "\" returntype=\"xml\"><arguments></arguments></invoke>";
        char answer[64] = {};
        return call && call(ControlOf(Driver), request.c_str(), answer, sizeof answer) >= 0;
    }};

// Both hosts installed: each preference picks its own host.
void PrepareHosts()
{
    static const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(SUCCEEDED(apartment));
    CheckFlashPlugins();
    ASSERT_TRUE(NetscapeFlashDriverClass.PluginExists());
    ASSERT_TRUE(ActiveXFlashDriverClass.PluginExists());
    WriteSampleMovie();
}

class HostTest : public ::testing::TestWithParam<const THost*> {
protected:
    void SetUp() override
    {
        PrepareHosts();
        Host().TakeLog();
    }
    const THost& Host() const { return *GetParam(); }
    bool OnHost(TznFlashDriver* Driver) const
    {
        return Driver != nullptr && Driver->InheritsFrom(Host().DriverClass());
    }
};

INSTANTIATE_TEST_SUITE_P(Hosts, HostTest, ::testing::Values(&NetscapeHost, &ActiveXHost),
                         [](const auto& Info) {
                             const std::wstring name = Info.param->Name;
                             return std::string(name.begin(), name.end());
                         });

TEST_P(HostTest, TheNonVisualComponentHoldsPremultipliedAlpha)
{
    TznFlashPlayerComp comp(nullptr);
    comp.SetPlugin(Host().Plugin);
    ASSERT_TRUE(OnHost(comp.Driver()));
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

TEST_P(HostTest, TheWindowedControlsKeysAndCharactersReachThePlayer)
{
    TPatternForm form(nullptr);
    form.SetBounds(40, 40, 360, 300);
    auto* player = new TznFlashPlayerWnd(&form);
    player->SetParent(&form);
    player->SetBounds(0, 0, 320, 240);
    player->SetPlugin(Host().Plugin);
    ASSERT_TRUE(OnHost(player->Driver()));
    player->SetMovie(MovieName);
    form.Show();
    PumpMessages();
    Host().TakeLog();

    const HWND window = player->Handle();
    SendMessageW(window, WM_KEYDOWN, 'A', 0x001E0001);
    SendMessageW(window, WM_CHAR, 'x', 0x001E0001);
    SendMessageW(window, WM_CHAR, '\t', 0x000F0001);
    SendMessageW(window, WM_KEYUP, 'A', 0xC01E0001);
    const std::vector<std::string> log = Host().TakeLog();
    EXPECT_EQ(Host().Messages(log, WM_KEYDOWN), std::vector<unsigned>{'A'});
    EXPECT_EQ(Host().Messages(log, WM_CHAR), std::vector<unsigned>{'x'}) << "Tab is not passed on";
    EXPECT_EQ(Host().Messages(log, WM_KEYUP), std::vector<unsigned>{'A'});
}

TEST_P(HostTest, TheGraphicControlShowsTheMovieOverItsParent)
{
    TPatternForm form(nullptr);
    form.SetBounds(40, 40, 380, 300);
    auto* player = new TznFlashPlayer(&form);
    player->SetParent(&form);
    player->SetBounds(8, 4, 320, 240);
    player->SetPlugin(Host().Plugin);
    ASSERT_TRUE(OnHost(player->Driver()));
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

TEST_P(HostTest, ADriverChangeLoadsTheMovieIntoAFreshPlayer)
{
    TznFlashPlayerComp comp(nullptr);
    comp.SetPlugin(Host().Plugin == znActiveX ? znNetscape : znActiveX);
    comp.SetMovie(MovieName);
    comp.SetVolume(90);
    Host().TakeLog();
    comp.SetPlugin(Host().Plugin);
    ASSERT_TRUE(OnHost(comp.Driver()));
    const std::vector<std::string> loads = Host().Loads(Host().TakeLog());
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_TRUE(std::regex_search(loads[0], std::regex("components( |%20)sample\\.swf$")))
        << loads[0];
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

// Each case runs on both hosts, one after the other.
template <class TPlayer>
class HandlerInCodeTest : public ::testing::Test {
protected:
    // The player comes after the apartment: detection runs once, in its constructor.
    void SetUp() override
    {
        PrepareHosts();
        Created.emplace(nullptr);
    }
    void TearDown() override { Created.reset(); }

    // The movie sends an FSCommand, or calls the host's function, through the player.
    void SendFSCommand(const THost& Host, const char* Command)
    {
        ASSERT_TRUE(Host.SendFSCommand(*Player().Driver(), Command, "x"));
    }
    void CallHost(const THost& Host)
    {
        ASSERT_TRUE(Host.CallHost(*Player().Driver(), "hostFunction"));
    }

    TPlayer& Player() { return *Created; }
    std::optional<TPlayer> Created;
};

using PlayerClasses =
    ::testing::Types<TznFlashPlayer, TznFlashPlayerWnd, TznFlashPlayerComp, TznFlashLayer>;
TYPED_TEST_SUITE(HandlerInCodeTest, PlayerClasses);

TYPED_TEST(HandlerInCodeTest, FSCommandHandlersReachThePlayerAtOnce)
{
    for (const THost* host : {&NetscapeHost, &ActiveXHost}) {
        SCOPED_TRACE(std::string(host->Name, host->Name + wcslen(host->Name)));
        TMovieEvents first, second;
        this->Player().SetPlugin(host->Plugin);
        this->Player().SetOnFSCommand(first.OnFSCommand());
        this->Player().SetMovie(MovieName);
        this->SendFSCommand(*host, "before");
        EXPECT_EQ(first.Commands, std::vector<std::wstring>{L"before|x"});
        EXPECT_EQ(first.Senders, std::vector<TObject*>{this->Player().Driver()})
            << "the driver sends";

        this->Player().SetOnFSCommand(second.OnFSCommand());
        this->SendFSCommand(*host, "replaced");
        EXPECT_EQ(second.Commands, std::vector<std::wstring>{L"replaced|x"});
        this->Player().SetOnFSCommand(nullptr);
        this->SendFSCommand(*host, "cleared");
        EXPECT_EQ(first.Commands.size() + second.Commands.size(), 2u);
    }
}

TYPED_TEST(HandlerInCodeTest, FlashCallHandlersReachThePlayerAtOnce)
{
    for (const THost* host : {&NetscapeHost, &ActiveXHost}) {
        SCOPED_TRACE(std::string(host->Name, host->Name + wcslen(host->Name)));
        TMovieEvents before, after;
        this->Player().SetPlugin(host->Plugin);
        this->Player().SetOnFlashCall(before.OnFlashCall());
        this->Player().SetMovie(L"");
        this->Player().SetMovie(MovieName);
        ASSERT_EQ(before.Requests.size(), 1u) << "the first frame calls out";
        EXPECT_NE(before.Requests[0].find(L"movieReady"), std::wstring::npos);

        this->Player().SetOnFlashCall(after.OnFlashCall());
        this->CallHost(*host);
        ASSERT_EQ(after.Requests.size(), 1u);
        EXPECT_NE(after.Requests[0].find(L"hostFunction"), std::wstring::npos);
        EXPECT_EQ(after.Senders[0], this->Player().Driver());
        this->Player().SetOnFlashCall(nullptr);
        this->CallHost(*host);
        EXPECT_EQ(before.Requests.size() + after.Requests.size(), 2u);
    }
}

} // namespace
