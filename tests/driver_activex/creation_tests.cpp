// The control's creation, activation and teardown as its log shows them: the order of the
// container's calls, the rectangles of in-place activation, the transparent window mode, local
// security lifted only where the control has the method, two drivers at once, and a driver freed
// by its owner from inside a call from the control.
#include "control_fixture.h"

#include <algorithm>

using namespace zn;
using namespace zn::test;

namespace {

// Whether Expected appears in Actual in this order, other calls between them allowed.
::testing::AssertionResult InOrder(const std::vector<std::string>& Actual,
                                   const std::vector<std::string>& Expected)
{
    auto next = Actual.begin();
    for (const std::string& call : Expected) {
        next = std::find(next, Actual.end(), call);
        if (next == Actual.end()) {
            std::string text;
            for (const std::string& name : Actual)
                text += name + "\n";
            return ::testing::AssertionFailure() << call << " missing or out of order in\n" << text;
        }
        ++next;
    }
    return ::testing::AssertionSuccess();
}

using CreationTest = ControlTest;

TEST_F(CreationTest, TheControlIsCreatedSetUpAndActivatedInTheContainersOrder)
{
    Driver = std::make_unique<TznFlashDriverActiveX>(100, 50, 0x00000000u);
    const auto log = TakeLog();
    EXPECT_TRUE(
        InOrder(CallNames(log),
                {"IClassFactory.CreateInstance", "IOleObject.GetMiscStatus",
                 "IPersistStreamInit.InitNew", "IConnectionPoint.Advise", "IConnectionPoint.Advise",
                 "IOleControl.OnAmbientPropertyChange", "IDispatch.Invoke", "IOleObject.DoVerb",
                 "Site.CanWindowlessActivate", "Site.OnInPlaceActivateEx", "Site.GetWindowContext",
                 "IOleInPlaceObject.SetObjectRects", "IOleControl.OnAmbientPropertyChange",
                 "IznFlashPlayer.FlashVersion", "IznFlashPlayer.DisableLocalSecurity"}));
    EXPECT_TRUE(Driver->GetIsFlashAvailable());
    EXPECT_NE(Driver->ControlInterface(), nullptr);
}

TEST_F(CreationTest, ActivationIsWindowlessOverTheWholeBufferInTransparentMode)
{
    Driver = std::make_unique<TznFlashDriverActiveX>(100, 50, 0xFF000000u);
    const auto log = TakeLog();
    const auto verbs = LinesOf(log, "IOleObject.DoVerb");
    ASSERT_EQ(verbs.size(), 1u);
    EXPECT_TRUE(Contains(verbs[0], "verb=-5")) << verbs[0];
    EXPECT_TRUE(Contains(verbs[0], "rect=(0,0,100,50)")) << verbs[0];
    EXPECT_TRUE(Contains(verbs[0], "index=0")) << verbs[0];
    EXPECT_TRUE(Contains(verbs[0], "parent=0x00000000")) << verbs[0];
    const auto contexts = LinesOf(log, "Site.GetWindowContext");
    ASSERT_EQ(contexts.size(), 1u);
    EXPECT_TRUE(Contains(contexts[0], "position=(0,0,100,50) clip=(0,0,32767,32767)"))
        << contexts[0];
    const auto rects = LinesOf(log, "IOleInPlaceObject.SetObjectRects");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_TRUE(Contains(rects[0], "position=(0,0,100,50) clip=(0,0,100,50)")) << rects[0];

    BSTR mode = nullptr;
    IznFlashPlayer* control = Driver->ControlInterface();
    ASSERT_EQ(control->lpVtbl->get_WMode(control, &mode), S_OK);
    EXPECT_EQ(std::wstring(mode), L"Transparent");
    SysFreeString(mode);
}

// DisableLocalSecurity follows CallFunction and SetReturnValue in the interface, which controls
// before version 8 end before: calling it there would call past the end of the interface.
TEST_F(CreationTest, LocalSecurityIsLiftedOnlyOnControlsThatHaveTheMethod)
{
    Controls.SetVersion(7);
    Driver = std::make_unique<TznFlashDriverActiveX>(40, 30, 0x00000000u);
    Driver.reset();
    auto log = TakeLog();
    EXPECT_FALSE(LinesOf(log, "IClassFactory.CreateInstance").empty());
    EXPECT_TRUE(LinesOf(log, "IznFlashPlayer.DisableLocalSecurity").empty());

    Controls.SetVersion(7);
    CreateDriver(0x00000000u, 40, 30);
    EXPECT_EQ(Driver->CallFunction(L"<invoke name=\"echo\" returntype=\"xml\"></invoke>"), L"");
    Driver->SetReturnValue(L"<string>x</string>");
    log = TakeLog();
    EXPECT_TRUE(LinesOf(log, "IznFlashPlayer.CallFunction").empty());
    EXPECT_TRUE(LinesOf(log, "IznFlashPlayer.SetReturnValue").empty());

    Controls.SetVersion(8);
    Driver = std::make_unique<TznFlashDriverActiveX>(40, 30, 0x00000000u);
    Driver.reset();
    EXPECT_EQ(LinesOf(TakeLog(), "IznFlashPlayer.DisableLocalSecurity").size(), 1u);
}

// The control is told to close while the site can still answer its deactivation; then the sinks
// go, the site is taken back, and the last reference.
TEST_F(CreationTest, TeardownClosesDisconnectsTakesTheSiteBackAndReleases)
{
    CreateDriver(0x00000000u, 100, 50);
    Driver.reset();
    const auto log = TakeLog();
    EXPECT_TRUE(InOrder(CallNames(log), {"IOleObject.Close", "Site.OnInPlaceDeactivate",
                                         "IConnectionPoint.Unadvise", "IConnectionPoint.Unadvise",
                                         "IOleObject.SetClientSite", "Control.FinalRelease"}));
    const auto sites = LinesOf(log, "IOleObject.SetClientSite");
    ASSERT_FALSE(sites.empty());
    EXPECT_TRUE(Contains(sites.back(), "site=0x00000000")) << sites.back();
    EXPECT_TRUE(Contains(LinesOf(log, "IOleObject.Close").at(0), "save=1"));
    EXPECT_EQ(Controls.LiveControls(), 0u);
    EXPECT_EQ(FlashControlData.InstanceCount, 0);
}

TEST_F(CreationTest, TwoDriversEachKeepTheirOwnControlAndBuffer)
{
    auto first = std::make_unique<TznFlashDriverActiveX>(320, 240, 0x00000000u);
    auto second = std::make_unique<TznFlashDriverActiveX>(160, 120, 0xFF00FF00u);
    EXPECT_EQ(FlashControlData.InstanceCount, 2);
    EXPECT_EQ(Controls.LiveControls(), 2u);
    first->LoadMovie(SampleMoviePath());
    first->StopPlay();
    first->Rewind();
    first->ForceUpdate();
    // The second has no movie: its buffer keeps the colour of the first erase, none.
    EXPECT_NE(first->BufferBits()[150 * 320 + 150], 0u);
    second.reset();
    EXPECT_EQ(FlashControlData.InstanceCount, 1);
    EXPECT_EQ(Controls.LiveControls(), 1u);
    first->ForceUpdate();
    EXPECT_NE(first->BufferBits()[150 * 320 + 150], 0u);
    first.reset();
    EXPECT_EQ(FlashControlData.InstanceCount, 0);
}

// The owner frees the driver from its paint handler, inside the site's InvalidateRect: the
// rendering stops touching the driver, and the control is closed and released once the site's
// call is done with it, breaking none of its rules (TearDown reads its violations).
TEST_F(CreationTest, ADriverFreedInsideInvalidateRectReleasesTheControlAfterTheCall)
{
    CreateDriver(0x00000000u, 100, 50);
    void* control = Control();
    AfterEvent = [this](const std::string& Event) {
        if (Event == "paint")
            Driver.reset();
    };
    EXPECT_EQ(Controls.InvalidateRect(control, nullptr), S_OK);
    EXPECT_EQ(Driver, nullptr);
    AfterEvent = nullptr;
    EXPECT_TRUE(InOrder(CallNames(TakeLog()),
                        {"IViewObject.Draw", "IOleObject.Close", "Control.FinalRelease"}));
    EXPECT_EQ(Controls.LiveControls(), 0u);
}

} // namespace

namespace {

// The control's property-page and object-interface classes are the real control's alone; where
// they are not registered, creating them raises the framework's OLE error with COM's answer.
TEST(FlashClassesTest, AClassThatIsNotRegisteredRaisesTheOleError)
{
    static const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(SUCCEEDED(apartment));
    try {
        CreateFlashPropertyPage();
        ADD_FAILURE() << "no property page class is registered";
    } catch (const EOleSysError& error) {
        EXPECT_EQ(error.ErrorCode(), REGDB_E_CLASSNOTREG);
    }
    EXPECT_THROW(CreateFlashObjectInterface(), EOleSysError);
}

} // namespace
