// The container as the control sees it, reached through the site the control was given: what
// QueryInterface and QueryService answer and refuse, each site method's HRESULT, the ambient
// properties, and the window the site reports.
#include "control_fixture.h"

#include "zintara/framework/com.h"
#include "zintara/framework/controls.h"
#include "zintara/framework/forms.h"

#include <cmath>

#include <docobj.h>
#include <ocidl.h>
#include <olectl.h>
#include <servprov.h>

using namespace zn;
using namespace zn::test;

namespace {

class SiteTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateDriver(0x00000000u, 100, 50);
        TComPtr<IOleObject> object;
        ASSERT_EQ(Driver->ControlInterface()->QueryInterface(IID_IOleObject, object.put_void()),
                  S_OK);
        ASSERT_EQ(object->GetClientSite(Site.put()), S_OK);
        ASSERT_TRUE(Site);
    }
    void TearDown() override
    {
        Site.reset();
        ControlTest::TearDown();
    }

    template <class T>
    TComPtr<T> Query(REFIID Iid)
    {
        TComPtr<T> result;
        EXPECT_EQ(Site.query(Iid, result), S_OK);
        return result;
    }

    VARIANT Ambient(DISPID DispID, HRESULT Expected = S_OK)
    {
        VARIANT value;
        VariantInit(&value);
        DISPPARAMS none{};
        EXPECT_EQ(Query<IDispatch>(IID_IDispatch)
                      ->Invoke(DispID, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                               nullptr),
                  Expected)
            << "dispid " << DispID;
        return value;
    }

    TComPtr<IOleClientSite> Site;
};

TEST_F(SiteTest, QueryInterfaceAnswersTheContainersRolesAndNothingElse)
{
    const IID answered[] = {IID_IUnknown,
                            IID_IServiceProvider,
                            IID_IPropertyNotifySink,
                            IID_IOleInPlaceUIWindow,
                            IID_IDispatch,
                            IID_IOleInPlaceFrame,
                            IID_IOleInPlaceSiteWindowless,
                            IID_IOleInPlaceSite,
                            IID_IOleWindow,
                            IID_IOleControlSite,
                            IID_IOleClientSite};
    for (const IID& iid : answered) {
        TComPtr<IUnknown> role;
        EXPECT_EQ(Site.query(iid, role), S_OK);
        // One object: every role leads back to the same identity.
        TComPtr<IUnknown> identity;
        ASSERT_EQ(role.query(IID_IUnknown, identity), S_OK);
        EXPECT_EQ(identity.get(), Query<IUnknown>(IID_IUnknown).get());
    }
    const IID refused[] = {
        IID_IOleInPlaceSiteEx, IID_IPersist,        IID_IPersistStream,
        IID_IOleContainer,     IID_IOleDocument,    IID_IOleCommandTarget,
        IID_IAdviseSink,       zn::IID_IDispatchEx, IID_IConnectionPointContainer};
    for (const IID& iid : refused) {
        void* sentinel = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(Site->QueryInterface(iid, &sentinel), E_NOINTERFACE);
        EXPECT_EQ(sentinel, nullptr);
    }
}

TEST_F(SiteTest, QueryServiceLooksUpTheContainersOwnInterfacesForAnyService)
{
    const auto provider = Query<IServiceProvider>(IID_IServiceProvider);
    TComPtr<IOleInPlaceFrame> frame;
    EXPECT_EQ(provider->QueryService(IID_IOleClientSite, IID_IOleInPlaceFrame, frame.put_void()),
              S_OK);
    EXPECT_EQ(frame.get(), Query<IOleInPlaceFrame>(IID_IOleInPlaceFrame).get());
    TComPtr<IUnknown> none;
    EXPECT_EQ(provider->QueryService(IID_IServiceProvider, IID_IOleInPlaceSiteEx, none.put_void()),
              E_NOINTERFACE);
    EXPECT_FALSE(none);
}

TEST_F(SiteTest, ClientAndControlSiteAnswerAsAContainerWithoutDocumentOrMoniker)
{
    IMoniker* moniker = reinterpret_cast<IMoniker*>(0x1);
    EXPECT_EQ(Site->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_CONTAINER, &moniker),
              E_NOTIMPL);
    EXPECT_EQ(moniker, nullptr);
    IOleContainer* container = reinterpret_cast<IOleContainer*>(0x1);
    EXPECT_EQ(Site->GetContainer(&container), E_NOINTERFACE);
    EXPECT_EQ(container, nullptr);
    EXPECT_EQ(Site->SaveObject(), S_OK);
    EXPECT_EQ(Site->ShowObject(), S_OK);
    EXPECT_EQ(Site->OnShowWindow(TRUE), S_OK);
    EXPECT_EQ(Site->RequestNewObjectLayout(), S_OK);

    const auto control_site = Query<IOleControlSite>(IID_IOleControlSite);
    EXPECT_EQ(control_site->OnControlInfoChanged(), E_NOTIMPL);
    EXPECT_EQ(control_site->LockInPlaceActive(TRUE), E_NOTIMPL);
    IDispatch* extended = reinterpret_cast<IDispatch*>(0x1);
    EXPECT_EQ(control_site->GetExtendedControl(&extended), E_NOTIMPL);
    EXPECT_EQ(extended, nullptr);
    MSG message{};
    EXPECT_EQ(control_site->TranslateAccelerator(&message, 0), E_NOTIMPL);
    EXPECT_EQ(control_site->OnFocus(TRUE), S_OK);
    EXPECT_EQ(control_site->ShowPropertyFrame(), E_NOTIMPL);
}

// 2540 HIMETRIC units are one inch, as many pixels as the screen has per logical inch.
TEST_F(SiteTest, TransformCoordsConvertsBetweenHimetricAndScreenPixels)
{
    const auto control_site = Query<IOleControlSite>(IID_IOleControlSite);
    const TWindowDC screen = WindowDC(nullptr);
    const int per_inch = GetDeviceCaps(screen.get().Value, LOGPIXELSX);
    POINTL himetric{2540, 5080};
    POINTF container{};
    ASSERT_EQ(control_site->TransformCoords(&himetric, &container,
                                            XFORMCOORDS_HIMETRICTOCONTAINER | XFORMCOORDS_SIZE),
              S_OK);
    EXPECT_EQ(container.x, static_cast<float>(per_inch));
    EXPECT_EQ(container.y, static_cast<float>(2 * per_inch));

    container = {static_cast<float>(per_inch) / 2, 1.0f};
    ASSERT_EQ(control_site->TransformCoords(&himetric, &container,
                                            XFORMCOORDS_CONTAINERTOHIMETRIC | XFORMCOORDS_POSITION),
              S_OK);
    EXPECT_EQ(himetric.x, 1270);
    EXPECT_EQ(himetric.y, std::lround(2540.0 / per_inch));
}

TEST_F(SiteTest, TheWindowlessSiteAndTheFrameAnswerEachMethodAsAWindowlessContainer)
{
    const auto site = Query<IOleInPlaceSiteWindowless>(IID_IOleInPlaceSiteWindowless);
    EXPECT_EQ(site->CanInPlaceActivate(), S_OK);
    EXPECT_EQ(site->CanWindowlessActivate(), S_OK);
    EXPECT_EQ(site->ContextSensitiveHelp(FALSE), S_OK);
    EXPECT_EQ(site->OnUIActivate(), S_OK);
    EXPECT_EQ(site->OnUIDeactivate(FALSE), S_OK);
    EXPECT_EQ(site->Scroll(SIZE{1, 1}), E_NOTIMPL);
    EXPECT_EQ(site->DiscardUndoState(), E_NOTIMPL);
    EXPECT_EQ(site->RequestUIActivate(), S_OK);
    EXPECT_EQ(site->GetCapture(), S_FALSE);
    EXPECT_EQ(site->SetCapture(TRUE), S_OK);
    EXPECT_EQ(site->GetFocus(), S_OK);
    EXPECT_EQ(site->SetFocus(TRUE), S_OK);
    EXPECT_EQ(site->ScrollRect(1, 1, nullptr, nullptr), S_OK);
    RECT rect{1, 2, 3, 4};
    EXPECT_EQ(site->AdjustRect(&rect), S_OK);
    EXPECT_TRUE(EqualRect(&rect, std::data({RECT{1, 2, 3, 4}})));
    LRESULT result = 77;
    EXPECT_EQ(site->OnDefWindowMessage(WM_CHAR, 'a', 0, &result), S_OK);
    EXPECT_EQ(result, 77);
    EXPECT_EQ(site->OnInPlaceDeactivateEx(TRUE), S_OK);

    HDC dc = nullptr;
    EXPECT_EQ(site->GetDC(nullptr, 0, &dc), S_OK);
    EXPECT_EQ(dc, Driver->BufferDC());
    EXPECT_EQ(site->ReleaseDC(dc), S_OK);
    EXPECT_NE(GetObjectType(Driver->BufferDC()), 0u) << "the buffer's context stays the driver's";

    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = reinterpret_cast<IOleInPlaceUIWindow*>(0x1);
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO info{};
    info.cb = 0x5A5A;
    info.fMDIApp = TRUE;
    ASSERT_EQ(site->GetWindowContext(&frame, &document, &position, &clip, &info), S_OK);
    EXPECT_EQ(frame, Query<IOleInPlaceFrame>(IID_IOleInPlaceFrame).get());
    EXPECT_EQ(document, nullptr);
    EXPECT_TRUE(EqualRect(&position, std::data({RECT{0, 0, 100, 50}})));
    EXPECT_TRUE(EqualRect(&clip, std::data({RECT{0, 0, 32767, 32767}})));
    EXPECT_EQ(info.cb, 0x5A5Au);
    EXPECT_FALSE(info.fMDIApp);
    EXPECT_EQ(info.hwndFrame, nullptr);
    EXPECT_EQ(info.haccel, nullptr);
    EXPECT_EQ(info.cAccelEntries, 0u);
    if (frame)
        frame->Release();

    const auto frame_role = Query<IOleInPlaceFrame>(IID_IOleInPlaceFrame);
    HWND window = reinterpret_cast<HWND>(0x1);
    EXPECT_EQ(frame_role->GetWindow(&window), S_OK);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(frame_role->GetBorder(&rect), INPLACE_E_NOTOOLSPACE);
    BORDERWIDTHS widths{};
    EXPECT_EQ(frame_role->RequestBorderSpace(&widths), INPLACE_E_NOTOOLSPACE);
    EXPECT_EQ(frame_role->SetBorderSpace(&widths), E_NOTIMPL);
    EXPECT_EQ(frame_role->InsertMenus(nullptr, nullptr), S_OK);
    EXPECT_EQ(frame_role->SetMenu(nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(frame_role->RemoveMenus(nullptr), S_OK);
    EXPECT_EQ(frame_role->SetStatusText(L"status"), S_OK);
    EXPECT_EQ(frame_role->EnableModeless(TRUE), S_OK);
    MSG message{};
    EXPECT_EQ(frame_role->TranslateAccelerator(&message, 0), S_FALSE);
    // The site's reference counts are counted, never the object's life.
    EXPECT_EQ(TakeViolations(), std::vector<std::string>{});
}

// Only the windowless interface's GetWindow follows a right-button press; reached as plain
// in-place site, in-place UI window or IOleWindow, the same object reports no window and
// succeeds.
TEST_F(SiteTest, GetWindowReportsNoWindowOutsideARightButtonPress)
{
    TForm form(nullptr);
    form.HandleNeeded();
    Driver->SetParentControl(&form);
    HWND window = reinterpret_cast<HWND>(0x1);
    EXPECT_EQ(Query<IOleInPlaceSiteWindowless>(IID_IOleInPlaceSiteWindowless)->GetWindow(&window),
              E_FAIL);
    EXPECT_EQ(window, nullptr);
    for (const IID& iid : {IID_IOleInPlaceSite, IID_IOleWindow, IID_IOleInPlaceUIWindow}) {
        window = reinterpret_cast<HWND>(0x1);
        EXPECT_EQ(Query<IOleWindow>(iid)->GetWindow(&window), S_OK);
        EXPECT_EQ(window, nullptr);
    }
    Driver->SetParentControl(nullptr);
}

TEST_F(SiteTest, AmbientPropertiesAnswerAsARunningContainerThatClipsAndReflects)
{
    const auto boolean = [&](DISPID DispID) {
        const VARIANT value = Ambient(DispID);
        EXPECT_EQ(value.vt, VT_BOOL) << "dispid " << DispID;
        return value.boolVal == VARIANT_TRUE;
    };
    EXPECT_TRUE(boolean(DISPID_AMBIENT_USERMODE));
    EXPECT_FALSE(boolean(DISPID_AMBIENT_UIDEAD));
    EXPECT_TRUE(boolean(DISPID_AMBIENT_MESSAGEREFLECT));
    EXPECT_TRUE(boolean(DISPID_AMBIENT_SUPPORTSMNEMONICS));
    EXPECT_TRUE(boolean(DISPID_AMBIENT_AUTOCLIP));
    EXPECT_FALSE(boolean(DISPID_AMBIENT_SHOWGRABHANDLES));
    EXPECT_FALSE(boolean(DISPID_AMBIENT_SHOWHATCHING));
    const VARIANT locale = Ambient(DISPID_AMBIENT_LOCALEID);
    EXPECT_EQ(locale.vt, VT_I4);
    EXPECT_EQ(static_cast<LCID>(locale.lVal), GetUserDefaultLCID());
    for (DISPID unknown : std::initializer_list<DISPID>{
             DISPID_AMBIENT_BACKCOLOR, DISPID_AMBIENT_FONT, DISPID_AMBIENT_FORECOLOR,
             DISPID_AMBIENT_SCALEUNITS, DISPID_AMBIENT_TEXTALIGN, DISPID_AMBIENT_DISPLAYASDEFAULT,
             DISPID(12345)})
        Ambient(unknown, DISP_E_MEMBERNOTFOUND);

    // Only a property get with somewhere to put the value is answered.
    DISPPARAMS none{};
    VARIANT value;
    VariantInit(&value);
    const auto dispatch = Query<IDispatch>(IID_IDispatch);
    EXPECT_EQ(dispatch->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_METHOD, &none, &value,
                               nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(dispatch->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                               nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    UINT count = 9;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(0x1);
    EXPECT_EQ(dispatch->GetTypeInfo(0, 0, &info), E_NOTIMPL);
    EXPECT_EQ(info, nullptr);
}

// User mode stays true in the designer, where the control's user interface is dead.
TEST_F(SiteTest, InTheDesignerTheUserInterfaceIsDeadButUserModeStays)
{
    Driver->SetDesigning(true);
    EXPECT_EQ(Ambient(DISPID_AMBIENT_UIDEAD).boolVal, VARIANT_TRUE);
    EXPECT_EQ(Ambient(DISPID_AMBIENT_USERMODE).boolVal, VARIANT_TRUE);
}

TEST_F(SiteTest, ARenameTellsTheControlWhichReadsTheNewDisplayName)
{
    Driver->SetName(L"MoviePlayer");
    const auto log = TakeLog();
    const auto changes = LinesOf(log, "IOleControl.OnAmbientPropertyChange");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_TRUE(Contains(changes[0], "dispid=-702")) << changes[0];
    VARIANT name = Ambient(DISPID_AMBIENT_DISPLAYNAME);
    ASSERT_EQ(name.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(name.bstrVal), L"MoviePlayer");
    VariantClear(&name);
}

} // namespace
