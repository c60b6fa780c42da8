// Events the control fires (arguments last first in DISPPARAMS), the container's answer to a
// FlashCall, scripting through the dual interface, and window messages reaching the movie.
#include "control_fixture.h"

#include "sample_movies.h"

#include <olectl.h>

#include <gmock/gmock.h>

namespace zn::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::wstring> Arguments(const std::vector<EventSeen>& events, DISPID id)
{
    for (const auto& event : events)
        if (event.id == id)
            return event.arguments;
    return {L"<not fired>"};
}

class EventsTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        Activate();
    }

    HRESULT Message(UINT message, WPARAM wParam, LPARAM lParam)
    {
        IOleInPlaceObjectWindowless* windowless = nullptr;
        control->QueryInterface(IID_IOleInPlaceObjectWindowless,
                                reinterpret_cast<void**>(&windowless));
        LRESULT result = 0;
        HRESULT hr = windowless->OnWindowMessage(message, wParam, lParam, &result);
        windowless->Release();
        return hr;
    }
};

TEST_F(EventsTest, FSCommandAndFlashCallReachTheSinkInDeclaredOrder)
{
    ASSERT_EQ(exports.FSCommand(control, "quit", "true"), S_OK);
    EXPECT_THAT(Arguments(sink.events, 150), ElementsAre(L"quit", L"true"));
    char answer[128] = {};
    const std::string expected = "<string>from the sink</string>";
    EXPECT_EQ(exports.FlashCall(control, "<invoke name=\"f\" returntype=\"xml\"></invoke>", answer,
                                sizeof answer),
              static_cast<std::int32_t>(expected.size()));
    EXPECT_EQ(answer, expected);
    EXPECT_THAT(Arguments(sink.events, 197),
                ElementsAre(L"<invoke name=\"f\" returntype=\"xml\"></invoke>"));
    EXPECT_THAT(Violations(), IsEmpty());
    // Outside a FlashCall there is nothing to answer.
    BSTR value = SysAllocString(L"<null/>");
    EXPECT_EQ(player->SetReturnValue(value), E_UNEXPECTED);
    SysFreeString(value);
    EXPECT_THAT(Violations(), ElementsAre(::testing::HasSubstr("outside a FlashCall event")));
}

TEST_F(EventsTest, LoadingAMovieReportsItsStateAndItsCalls)
{
    IConnectionPointContainer* points = nullptr;
    ASSERT_EQ(
        control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)),
        S_OK);
    IConnectionPoint* property_point = nullptr;
    ASSERT_EQ(points->FindConnectionPoint(IID_IPropertyNotifySink, &property_point), S_OK);
    points->Release();
    DWORD cookie = 0;
    ASSERT_EQ(property_point->Advise(static_cast<IOleClientSite*>(&site), &cookie), S_OK);
    LoadMovie(swf::samples::SampleMovie());
    ASSERT_EQ(property_point->Unadvise(cookie), S_OK);
    property_point->Release();
    EXPECT_THAT(site.changed, ElementsAre(DISPID_READYSTATE, DISPID_READYSTATE));
    std::vector<DISPID> order;
    for (const auto& event : sink.events)
        order.push_back(event.id);
    // Loading, the movie's first frame calling out, progress, complete.
    EXPECT_THAT(order, ElementsAre(-609, 197, 1958, -609));
    EXPECT_THAT(Arguments(sink.events, -609), ElementsAre(L"1"));
    EXPECT_THAT(Arguments(sink.events, 197),
                ElementsAre(L"<invoke name=\"movieReady\" returntype=\"xml\"><arguments><string>"
                            L"sample</string><number>1</number></arguments></invoke>"));
    BSTR name = SysAllocString(L"readyAnswer");
    BSTR value = nullptr;
    ASSERT_EQ(player->GetVariable(name, &value), S_OK);
    EXPECT_STREQ(value, L"from the sink");
    SysFreeString(value);
    SysFreeString(name);
    EXPECT_THAT(Violations(), IsEmpty());
}

TEST_F(EventsTest, AHandlerMayReplaceTheMovieWhoseScriptRaisedTheEvent)
{
    LoadMovie(swf::samples::SampleMovie());
    const std::wstring next = WriteFile(swf::samples::ButtonMovie());
    sink.handler = [&](const EventSeen& event) {
        if (event.id != 150 || event.arguments.empty() || event.arguments[0] != L"reached")
            return;
        BSTR url = SysAllocString(next.c_str());
        EXPECT_EQ(player->LoadMovie(0, url), S_OK);
        SysFreeString(url);
    };
    // Frame 4's script raises the FSCommand while the frame clock advances the movie.
    ASSERT_EQ(player->Play(), S_OK);
    LONG frames = 0;
    for (int waited = 0; waited < 3000 && frames != 1; waited += 50) {
        Pump(50);
        player->get_TotalFrames(&frames);
    }
    EXPECT_EQ(frames, 1);
    sink.handler = nullptr;
    EXPECT_THAT(Violations(), IsEmpty());
}

TEST_F(EventsTest, CallFunctionInvokesTheMovieCallbacks)
{
    LoadMovie(swf::samples::SampleMovie());
    BSTR request = SysAllocString(L"<invoke name=\"echo\" returntype=\"xml\"><arguments><string>"
                                  L"hi</string></arguments></invoke>");
    BSTR response = nullptr;
    ASSERT_EQ(player->CallFunction(request, &response), S_OK);
    EXPECT_STREQ(response, L"<string>echo:hi</string>");
    SysFreeString(response);
    SysFreeString(request);
    request = SysAllocString(L"<invoke name=\"unknown\" returntype=\"xml\"></invoke>");
    EXPECT_EQ(player->CallFunction(request, &response), E_FAIL);
    SysFreeString(request);
    EXPECT_THAT(Violations(), IsEmpty());
}

TEST_F(EventsTest, WindowMessagesReachTheMovie)
{
    LoadMovie(swf::samples::ButtonMovie());
    // The 200 x 100 stage fills the width of the 320 x 240 control: the button's centre is at
    // the control's centre.
    const LPARAM centre = MAKELPARAM(160, 120);
    EXPECT_EQ(Message(WM_MOUSEMOVE, 0, centre), S_OK);
    EXPECT_EQ(Message(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), S_OK);
    Log();
    EXPECT_EQ(Message(WM_LBUTTONDOWN, MK_LBUTTON, centre), S_OK);
    // A press takes the focus and the mouse from the site.
    std::vector<std::string> site_calls;
    for (const auto& line : LinesStarting(Log(), "Site."))
        site_calls.push_back(line.substr(0, line.find(' ')));
    EXPECT_THAT(site_calls, ::testing::IsSupersetOf({"Site.SetFocus", "Site.SetCapture"}));
    std::vector<std::vector<std::wstring>> commands;
    for (const auto& event : sink.events)
        if (event.id == 150)
            commands.push_back(event.arguments);
    EXPECT_THAT(commands,
                ElementsAre(ElementsAre(L"button", L"over"), ElementsAre(L"button", L"pressed")));
    EXPECT_EQ(Message(WM_NULL, 0, 0), S_OK);
    EXPECT_EQ(Message(WM_TIMER, 0, 0), S_FALSE);
    // A right press asks the site for the window a context menu would open over.
    Log();
    EXPECT_EQ(Message(WM_RBUTTONDOWN, MK_RBUTTON, centre), S_OK);
    EXPECT_THAT(LinesStarting(Log(), "Site.GetWindow"),
                ElementsAre(::testing::HasSubstr("window=0x00000000 hr=0x80004005")));
    EXPECT_THAT(Violations(), IsEmpty());
}

} // namespace
} // namespace zn::test
