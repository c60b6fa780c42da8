// TznFlashDriverActiveX: the control's creation and release around the driver's life, and the
// movie operations through the control's dual interface.
#include "zintara/zn_driver_activex.h"

#include "control_host.h"
#include "movie_sources.h"
#include "zintara/framework/properties.h"

#include <olectl.h>

namespace zn {
namespace {

// A BSTR for the length of one call.
class TCallString {
public:
    explicit TCallString(const std::wstring& Text)
        : FValue(SysAllocStringLen(Text.data(), static_cast<UINT>(Text.size())))
    {}
    ~TCallString() { SysFreeString(FValue); }
    TCallString(const TCallString&) = delete;
    TCallString& operator=(const TCallString&) = delete;
    BSTR get() const { return FValue; }

private:
    BSTR FValue;
};

// Takes over a BSTR the control returned.
std::wstring TakeString(BSTR Value)
{
    std::wstring text = Value ? std::wstring(Value, SysStringLen(Value)) : std::wstring();
    SysFreeString(Value);
    return text;
}

constexpr int FirstVersionWithCallFunction = 8;

} // namespace

// Control creation runs in the order the control expects: created as IOleObject, its status
// read, its state initialised and its sinks connected, transparent window mode, in-place
// activation over the buffer, then local security lifted. A control that cannot be created
// leaves the driver inert; a checked call that fails raises once the control is released again.
TznFlashDriverActiveX::TznFlashDriverActiveX(int AWidth, int AHeight, std::uint32_t ABackground)
    : TznFlashDriver(AWidth, AHeight, ABackground), FControlData(&FlashControlData),
      FSources(std::make_unique<activex::TMovieSources>())
{
    ++FControlData->InstanceCount;
    FHost = std::make_shared<activex::TControlHost>(*this);
    try {
        if (!FHost->CreateInstance()) {
            FFlashNotExists = true;
            return;
        }
        FHost->Activate(FWidth, FHeight);
        if (FHost->FIntf && MajorVersion() >= FirstVersionWithCallFunction)
            OleCheck(FHost->FIntf->lpVtbl->DisableLocalSecurity(FHost->FIntf.get()));
    } catch (...) {
        FHost->Detach();
        --FControlData->InstanceCount;
        throw;
    }
}

TznFlashDriverActiveX::~TznFlashDriverActiveX()
{
    Destroying();
    FHost->Detach();
    if (--FControlData->InstanceCount == 0)
        DestroyEnumPropDescs();
}

const TClassInfo& TznFlashDriverActiveX::ClassInfo()
{
    static const TClassInfo info =
        DeclareClass<TznFlashDriverActiveX, TznFlashDriver>(L"TznFlashDriverActiveX");
    return info;
}

const TClassInfo& TznFlashDriverActiveX::ClassType() const
{
    return ClassInfo();
}

bool TznFlashDriverActiveX::GetIsFlashAvailable() const
{
    return !FFlashNotExists;
}

IznFlashPlayer* TznFlashDriverActiveX::ControlInterface() const
{
    return FFlashNotExists ? nullptr : FHost->FIntf.get();
}

void TznFlashDriverActiveX::SetName(const std::wstring& NewName)
{
    TznFlashDriver::SetName(NewName);
    if (const TComPtr<IOleControl> control = FHost->FOleControl) {
        const activex::TControlCall call(*FHost);
        control->OnAmbientPropertyChange(DISPID_AMBIENT_DISPLAYNAME);
    }
}

int TznFlashDriverActiveX::MajorVersion()
{
    long version = 0;
    if (IznFlashPlayer* intf = ControlInterface()) {
        const activex::TControlCall call(*FHost);
        OleCheck(intf->lpVtbl->FlashVersion(intf, &version));
    }
    return static_cast<int>(static_cast<unsigned long>(version) >> 16);
}

// Every movie operation holds the host while the control runs it: the control may call the
// site back, and the owner free the driver, from inside.
#define ZN_CALL_CONTROL(Method, ...)                                                               \
    do {                                                                                           \
        if (IznFlashPlayer* intf = ControlInterface()) {                                           \
            const activex::TControlCall call(*FHost);                                              \
            OleCheck(intf->lpVtbl->Method(intf __VA_OPT__(, ) __VA_ARGS__));                       \
        }                                                                                          \
    } while (false)

// Not checked: a movie that does not arrive is no error of the call, on either host; the
// control reports it through its ready state.
void TznFlashDriverActiveX::LoadControlMovie(const std::wstring& Url)
{
    const TCallString url(Url);
    if (IznFlashPlayer* intf = ControlInterface()) {
        const activex::TControlCall call(*FHost);
        intf->lpVtbl->LoadMovie(intf, 0, url.get());
    }
}

std::wstring TznFlashDriverActiveX::GetVariable(const std::wstring& name)
{
    const TCallString text(name);
    BSTR value = nullptr;
    ZN_CALL_CONTROL(GetVariable, text.get(), &value);
    return TakeString(value);
}

void TznFlashDriverActiveX::SetVariable(const std::wstring& name, const std::wstring& value)
{
    const TCallString name_text(name);
    const TCallString value_text(value);
    ZN_CALL_CONTROL(SetVariable, name_text.get(), value_text.get());
}

std::wstring TznFlashDriverActiveX::CallFunction(const std::wstring& request)
{
    if (MajorVersion() < FirstVersionWithCallFunction)
        return {};
    const TCallString text(request);
    BSTR response = nullptr;
    ZN_CALL_CONTROL(CallFunction, text.get(), &response);
    return TakeString(response);
}

void TznFlashDriverActiveX::SetReturnValue(const std::wstring& returnValue)
{
    if (MajorVersion() < FirstVersionWithCallFunction)
        return;
    const TCallString text(returnValue);
    ZN_CALL_CONTROL(SetReturnValue, text.get());
}

void TznFlashDriverActiveX::Play()
{
    ZN_CALL_CONTROL(Play);
}

void TznFlashDriverActiveX::StopPlay()
{
    ZN_CALL_CONTROL(StopPlay);
}

void TznFlashDriverActiveX::Rewind()
{
    ZN_CALL_CONTROL(Rewind);
}

void TznFlashDriverActiveX::Forward()
{
    ZN_CALL_CONTROL(Forward);
}

void TznFlashDriverActiveX::Back()
{
    ZN_CALL_CONTROL(Back);
}

bool TznFlashDriverActiveX::GetLoop()
{
    VARIANT_BOOL loop = VARIANT_FALSE;
    ZN_CALL_CONTROL(get_Loop, &loop);
    return loop != VARIANT_FALSE;
}

bool TznFlashDriverActiveX::GetIsPlaying()
{
    VARIANT_BOOL playing = VARIANT_FALSE;
    ZN_CALL_CONTROL(IsPlaying, &playing);
    return playing != VARIANT_FALSE;
}

int TznFlashDriverActiveX::GetCurrentFrame()
{
    long frame = 0;
    ZN_CALL_CONTROL(CurrentFrame, &frame);
    return static_cast<int>(frame);
}

int TznFlashDriverActiveX::GetTotalFrames()
{
    long frames = 0;
    ZN_CALL_CONTROL(get_TotalFrames, &frames);
    return static_cast<int>(frames);
}

void TznFlashDriverActiveX::SetLoop(bool Value)
{
    ZN_CALL_CONTROL(put_Loop, Value ? VARIANT_TRUE : VARIANT_FALSE);
}

void TznFlashDriverActiveX::SetCurrentFrame(int Value)
{
    ZN_CALL_CONTROL(put_FrameNum, Value);
}

#undef ZN_CALL_CONTROL

} // namespace zn
