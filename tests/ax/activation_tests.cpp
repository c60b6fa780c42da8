// The control as the registry finds it and as a windowless container activates it: the calls it
// makes into the site, in order, and the container faults it reports.
#include "control_fixture.h"

#include "sample_movies.h"
#include "support/absent_control.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <utility>

namespace zn::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

std::wstring RegistryText(const wchar_t* key, const wchar_t* name)
{
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

TEST_F(ControlTest, RegisteredMachineWideInAnApartmentWithItsTypeLibrary)
{
    const wchar_t* server =
        L"Software\\Classes\\CLSID\\{D27CDB6E-AE6D-11CF-96B8-444553540000}\\InprocServer32";
    EXPECT_EQ(RegistryText(server, L"ThreadingModel"), L"Apartment");
    EXPECT_THAT(RegistryText(server, nullptr), HasSubstr(zn::ax::control::kDllName));
    ITypeLib* library = nullptr;
    ASSERT_EQ(LoadRegTypeLib(LIBID_ZnPlayerControlLib, 1, 0, LOCALE_NEUTRAL, &library), S_OK);
    library->Release();
    // The class object answers nothing but its own class.
    IClassFactory* factory = nullptr;
    EXPECT_EQ(CoGetClassObject(IID_IznFlashPlayer, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              REGDB_E_CLASSNOTREG);
}

TEST_F(ControlTest, ActivatesWindowlessThroughTheSiteInOrder)
{
    Log();
    DWORD misc = 0;
    ASSERT_EQ(control->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_TRUE(misc & OLEMISC_SETCLIENTSITEFIRST);
    Activate();
    auto calls = Log();
    // A site's call is logged when it returns: the repaint inside InvalidateRect comes first.
    std::vector<std::string> order;
    // What the control asks of a new site comes in the lines after SetClientSite.
    const std::vector<std::string> site_reads = {"Site.Ambient", "Site.QueryInterface",
                                                 "Site.GetContainer", "Site.GetMoniker",
                                                 "Site.TransformCoords"};
    for (const auto& line : calls) {
        const std::string call = line.substr(0, line.find(' '));
        if (std::find(site_reads.begin(), site_reads.end(), call) == site_reads.end())
            order.push_back(call);
    }
    EXPECT_THAT(order,
                ElementsAre("IOleObject.GetMiscStatus", "IOleObject.SetClientSite",
                            "IPersistStreamInit.InitNew",
                            "IConnectionPointContainer.FindConnectionPoint",
                            "IConnectionPoint.Advise", "IOleObject.DoVerb",
                            "Site.CanWindowlessActivate", "Site.OnInPlaceActivateEx",
                            "Site.GetWindowContext", "IViewObject.Draw", "Site.InvalidateRect"));
    EXPECT_THAT(LinesStarting(calls, "IOleObject.DoVerb"),
                ElementsAre(HasSubstr("verb=-5 message=0x00000000")));
    EXPECT_THAT(LinesStarting(calls, "Site.GetWindowContext"),
                ElementsAre(HasSubstr("position=(0,0,320,240) clip=(0,0,32767,32767)")));
    // The site's interfaces and ambient properties are read as soon as it is set.
    EXPECT_THAT(LinesStarting(calls, "Site.QueryInterface"),
                ::testing::AllOf(::testing::Contains(
                                     HasSubstr("iid=\"IOleInPlaceSiteWindowless\" hr=0x00000000")),
                                 ::testing::Contains(HasSubstr("iid=\"IPersist\" hr=0x80004002"))));
    EXPECT_THAT(LinesStarting(calls, "Site.GetContainer"), ElementsAre(HasSubstr("hr=0x80004002")));
    // An inch, to the site's units and back.
    EXPECT_THAT(LinesStarting(calls, "Site.TransformCoords"),
                ElementsAre(HasSubstr("to=\"container\" point=\"(96,96)\" hr=0x00000000"),
                            HasSubstr("to=\"himetric\" point=\"(2540,2540)\" hr=0x00000000")));
    EXPECT_THAT(LinesStarting(calls, "Site.Ambient control="),
                ::testing::Contains(HasSubstr("dispid=-709 hr=0x00000000 vt=11 value=\"True\"")));
    EXPECT_THAT(Violations(), IsEmpty());
    Destroy();
    EXPECT_THAT(Log(), ::testing::Contains(StartsWith("Site.OnInPlaceDeactivate")));
    EXPECT_EQ(exports.LiveControls(), 0u);
    EXPECT_THAT(Violations(), IsEmpty());
}

// The whole life a container of this library gives the control, call by call: nothing in it
// may be reported.
TEST_F(ControlTest, AContainersFullLifeLeavesNothingToReport)
{
    Destroy();
    ASSERT_EQ(CoCreateInstance(CLSID_ZnPlayerControl, nullptr,
                               CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IOleObject,
                               reinterpret_cast<void**>(&control)),
              S_OK);
    DWORD misc = 0;
    ASSERT_EQ(control->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
    ASSERT_EQ(control->SetClientSite(&site), S_OK);
    IPersistStreamInit* persist = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)),
              S_OK);
    IOleClientSite* current = nullptr;
    ASSERT_EQ(control->GetClientSite(&current), S_OK);
    ASSERT_EQ(current, static_cast<IOleClientSite*>(&site));
    ASSERT_EQ(persist->InitNew(), S_OK);
    IOleControl* ole_control = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(&ole_control)),
              S_OK);
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    IUnknown* browsing = nullptr;
    EXPECT_EQ(
        control->QueryInterface(IID_IPerPropertyBrowsing, reinterpret_cast<void**>(&browsing)),
        E_NOINTERFACE);
    IConnectionPointContainer* points = nullptr;
    ASSERT_EQ(
        control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)),
        S_OK);
    IConnectionPoint* property_point = nullptr;
    DWORD property_cookie = 0;
    ASSERT_EQ(points->FindConnectionPoint(IID_IPropertyNotifySink, &property_point), S_OK);
    ASSERT_EQ(property_point->Advise(static_cast<IOleClientSite*>(&site), &property_cookie), S_OK);
    ASSERT_EQ(points->FindConnectionPoint(DIID__IznFlashPlayerEvents, &eventPoint), S_OK);
    ASSERT_EQ(eventPoint->Advise(&sink, &eventCookie), S_OK);
    ole_control->OnAmbientPropertyChange(DISPID_UNKNOWN);
    ASSERT_EQ(control->QueryInterface(IID_IznFlashPlayer, reinterpret_cast<void**>(&player)), S_OK);
    VARIANT mode;
    mode.vt = VT_BSTR;
    mode.bstrVal = SysAllocString(L"Transparent");
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{&mode, &put, 1, 1};
    EXPECT_EQ(dispatch->Invoke(133, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                               nullptr, nullptr, nullptr),
              S_OK);
    VariantClear(&mode);
    RECT rect{0, 0, kWidth, kHeight};
    control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, nullptr, &rect);
    IOleInPlaceObjectWindowless* windowless = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IOleInPlaceObjectWindowless,
                                      reinterpret_cast<void**>(&windowless)),
              S_OK);
    EXPECT_EQ(windowless->SetObjectRects(&rect, &rect), S_OK);
    ASSERT_EQ(control->GetClientSite(&current), S_OK);
    ole_control->OnAmbientPropertyChange(DISPID_UNKNOWN);
    EXPECT_EQ(player->DisableLocalSecurity(), S_OK);
    site.Repaint(rect);

    // Torn down: closed (twice), the sinks disconnected, the site taken back.
    control->Close(OLECLOSE_NOSAVE);
    control->Close(OLECLOSE_NOSAVE);
    EXPECT_EQ(eventPoint->Unadvise(eventCookie), S_OK);
    EXPECT_EQ(property_point->Unadvise(property_cookie), S_OK);
    property_point->Release();
    eventPoint->Release();
    eventPoint = nullptr;
    points->Release();
    windowless->Release();
    dispatch->Release();
    ole_control->Release();
    persist->Release();
    EXPECT_EQ(control->SetClientSite(nullptr), S_OK);
    player->Release();
    player = nullptr;
    std::exchange(control, nullptr)->Release();
    EXPECT_EQ(exports.LiveControls(), 0u);
    EXPECT_THAT(Violations(), IsEmpty());
}

TEST_F(ControlTest, ReportsWhatAContainerMustNotDo)
{
    // Before activation: rectangles and messages have nowhere to go.
    IOleInPlaceObjectWindowless* windowless = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IOleInPlaceObjectWindowless,
                                      reinterpret_cast<void**>(&windowless)),
              S_OK);
    RECT rect{0, 0, 10, 10};
    EXPECT_EQ(windowless->SetObjectRects(&rect, &rect), E_UNEXPECTED);
    LRESULT result = 0;
    EXPECT_EQ(windowless->OnWindowMessage(WM_MOUSEMOVE, 0, 0, &result), E_UNEXPECTED);
    EXPECT_EQ(control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, nullptr, &rect),
              E_UNEXPECTED); // before InitNew
    Activate();
    // Drawing into something that is not a device context.
    IViewObject* view = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view)), S_OK);
    RECTL bounds{0, 0, 10, 10};
    EXPECT_EQ(view->Draw(DVASPECT_OPAQUE, -1, nullptr, nullptr, nullptr, nullptr, &bounds, nullptr,
                         nullptr, 0),
              E_INVALIDARG);
    // A site that fails an invalidation.
    site.invalidateAnswer = E_FAIL;
    EXPECT_EQ(exports.InvalidateRect(control, nullptr), E_FAIL);
    site.invalidateAnswer = S_OK;
    control->Close(OLECLOSE_NOSAVE);
    EXPECT_EQ(windowless->OnWindowMessage(WM_MOUSEMOVE, 0, 0, &result), E_UNEXPECTED);
    EXPECT_EQ(view->Draw(DVASPECT_OPAQUE, -1, nullptr, nullptr, nullptr, site.buffer.DC(), &bounds,
                         nullptr, nullptr, 0),
              E_UNEXPECTED);
    view->Release();
    windowless->Release();
    EXPECT_THAT(Violations(), ElementsAre(HasSubstr("SetObjectRects before in-place activation"),
                                          HasSubstr("OnWindowMessage before in-place activation"),
                                          HasSubstr("DoVerb before InitNew"),
                                          HasSubstr("Draw without a device context"),
                                          HasSubstr("InvalidateRect failed"),
                                          HasSubstr("OnWindowMessage after Close"),
                                          HasSubstr("Draw after Close")));
}

TEST_F(ControlTest, ReportsASiteThatBreaksTheRulesOfQueryInterface)
{
    site.sloppyRefusal = true;
    ASSERT_EQ(control->SetClientSite(&site), S_OK);
    EXPECT_THAT(Violations(),
                ElementsAre(HasSubstr("QueryInterface for IPersist failed without clearing")));
}

TEST_F(ControlTest, RefusesASiteThatIsNotWindowless)
{
    site.canWindowlessAnswer = S_FALSE;
    Initialize();
    RECT rect{0, 0, kWidth, kHeight};
    EXPECT_EQ(control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, nullptr, &rect),
              E_NOTIMPL);
    EXPECT_THAT(LinesStarting(Log(), "Site.OnInPlaceActivateEx"), IsEmpty());
    EXPECT_THAT(Violations(), IsEmpty());
}

TEST_F(ControlTest, AProcessCanBeDeniedTheControlWithoutUnregisteringIt)
{
    IOleObject* object = nullptr;
    {
        TAbsentControl absent(CLSID_ZnPlayerControl);
        ASSERT_EQ(absent.Result(), S_OK);
        EXPECT_EQ(CoCreateInstance(CLSID_ZnPlayerControl, nullptr,
                                   CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IOleObject,
                                   reinterpret_cast<void**>(&object)),
                  REGDB_E_CLASSNOTREG);
        EXPECT_EQ(object, nullptr);
    }
    ASSERT_EQ(CoCreateInstance(CLSID_ZnPlayerControl, nullptr,
                               CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IOleObject,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    object->Release();
}

TEST_F(ControlTest, TheLibraryUnloadsOnlyWhenNoControlIsLeft)
{
    // With a movie, whose download the library must outlive.
    Activate();
    LoadMovie(swf::samples::SampleMovie());
    using CanUnload = HRESULT(WINAPI*)();
    auto can_unload = reinterpret_cast<CanUnload>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(zn::ax::control::kDllName), "DllCanUnloadNow")));
    ASSERT_NE(can_unload, nullptr);
    EXPECT_EQ(can_unload(), S_FALSE);
    Destroy();
    EXPECT_EQ(can_unload(), S_OK);
}

TEST_F(ControlTest, ReportsAContainerThatClosesFromAnEventOrForgetsItsSinks)
{
    Activate();
    struct ClosingSink final : PlainDispatch {
        IOleObject* control = nullptr;
        STDMETHODIMP QueryInterface(REFIID, void** object) override
        {
            *object = static_cast<IDispatch*>(this);
            return S_OK;
        }
        STDMETHODIMP_(ULONG) AddRef() override { return 2; }
        STDMETHODIMP_(ULONG) Release() override { return 1; }
        STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                            UINT*) override
        {
            return control->Close(OLECLOSE_NOSAVE);
        }
    } closing;
    closing.control = control;
    DWORD cookie = 0;
    ASSERT_EQ(eventPoint->Advise(&closing, &cookie), S_OK);
    ASSERT_EQ(exports.FSCommand(control, "close", ""), S_OK);
    // The sink stays connected: the last release finds it.
    eventPoint->Release();
    eventPoint = nullptr;
    Destroy();
    EXPECT_THAT(Violations(), ElementsAre(HasSubstr("Close from inside an event handler"),
                                          HasSubstr("released with sinks still connected")));
}

} // namespace
} // namespace zn::test
