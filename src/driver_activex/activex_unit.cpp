// What the ActiveX driver holds once per process: the control's identifiers and description,
// and whether the control can be created.
#include "zintara/zn_driver_activex.h"

namespace zn {

const GUID LIBID_znFlashPlayerObjects = {
    0xD27CDB6B, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID IID_IznFlashPlayer = {
    0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID DIID__IznFlashPlayerEvents = {
    0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID CLASS_znFlashPlayer = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID IID_IFlashFactory = {
    0xD27CDB70, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID CLASS_FlashObjectInterface = {
    0xD27CDB71, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID IID_IFlashObjectInterface = {
    0xD27CDB72, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID CLASS_FlashProp = {
    0x1171A62F, 0x05D2, 0x11D1, {0x83, 0xFC, 0x00, 0xA0, 0xC9, 0x08, 0x9C, 0x5A}};

const GUID IID_IDispatchEx = {
    0xA6EF9860, 0xC720, 0x11D0, {0x93, 0x37, 0x00, 0xA0, 0xC9, 0x0D, 0xCA, 0xA9}};

const std::int32_t FlashEventDispIDs[4] = {-609, 1958, 150, 197};

TControlData2 FlashControlData = {CLASS_znFlashPlayer,
                                  DIID__IznFlashPlayerEvents,
                                  4,
                                  FlashEventDispIDs,
                                  nullptr,
                                  0,
                                  401,
                                  0,
                                  nullptr,
                                  0,
                                  nullptr,
                                  0,
                                  0};

namespace {

constexpr DWORD ControlContext = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;

bool FlashActiveXChecked = false;
bool FlashActiveXAvailable = false;

// Creates an object of Class as Iid, on MachineName when one is given.
void CreateObject(REFCLSID Class, const std::wstring& MachineName, REFIID Iid, void** Object)
{
    if (MachineName.empty()) {
        OleCheck(CoCreateInstance(Class, nullptr, ControlContext, Iid, Object));
        return;
    }
    COSERVERINFO server{};
    server.pwszName = const_cast<wchar_t*>(MachineName.c_str());
    MULTI_QI result{&Iid, nullptr, S_OK};
    OleCheck(CoCreateInstanceEx(Class, nullptr, CLSCTX_REMOTE_SERVER | ControlContext, &server, 1,
                                &result));
    OleCheck(result.hr);
    *Object = result.pItf;
}

} // namespace

// The object that answers is released at once: the test is whether one came back.
void CheckFlashActiveX()
{
    if (FlashActiveXChecked)
        return;
    FlashActiveXChecked = true;
    IOleObject* object = nullptr;
    CoCreateInstance(CLASS_znFlashPlayer, nullptr, ControlContext, IID_IOleObject,
                     reinterpret_cast<void**>(&object));
    if (object != nullptr) {
        FlashActiveXAvailable = true;
        object->Release();
    }
}

bool TznFlashDriverActiveX::PluginExists()
{
    CheckFlashActiveX();
    return FlashActiveXAvailable;
}

TComPtr<IUnknown> CreateFlashPropertyPage(const std::wstring& MachineName)
{
    TComPtr<IUnknown> page;
    CreateObject(CLASS_FlashProp, MachineName, IID_IUnknown, page.put_void());
    return page;
}

TComPtr<IDispatch> CreateFlashObjectInterface(const std::wstring& MachineName)
{
    TComPtr<IDispatch> object;
    CreateObject(CLASS_FlashObjectInterface, MachineName, IID_IFlashObjectInterface,
                 object.put_void());
    return object;
}

std::uint32_t ShiftStateToKeyFlags(TShiftState Shift)
{
    std::uint32_t flags = 0;
    if (Shift.Contains(ssShift))
        flags |= MK_SHIFT;
    if (Shift.Contains(ssAlt))
        flags |= MK_ALT;
    if (Shift.Contains(ssCtrl))
        flags |= MK_CONTROL;
    if (Shift.Contains(ssLeft))
        flags |= MK_LBUTTON;
    if (Shift.Contains(ssRight))
        flags |= MK_RBUTTON;
    return flags;
}

} // namespace zn
