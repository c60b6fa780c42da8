// The dual interface: IDispatch from the type library, the movie's playback and scripting, and
// the properties the control keeps.
#include "control.h"

#include "control_log.h"
#include "control_module.h"

#include "znswf/movie_player.h"

#include <olectl.h>

#include <optional>

namespace zn::ax {

namespace {

HRESULT GetText(const std::wstring& value, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT PutText(std::wstring& field, BSTR value)
{
    field.assign(value ? value : L"", value ? SysStringLen(value) : 0);
    return S_OK;
}

HRESULT GetBool(bool value, VARIANT_BOOL* out)
{
    if (!out)
        return E_POINTER;
    *out = value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

template <typename T, typename U>
HRESULT GetValue(T value, U* out)
{
    if (!out)
        return E_POINTER;
    *out = static_cast<U>(value);
    return S_OK;
}

std::wstring TextOf(BSTR value)
{
    return value ? std::wstring(value, SysStringLen(value)) : std::wstring();
}

// Targets a movie's timeline is named by: this player has only the main one.
bool IsMainTimeline(BSTR target)
{
    std::wstring name = TextOf(target);
    return name.empty() || name == L"/" || name == L"_root" || name == L"_level0";
}

} // namespace

ITypeInfo* Control::InterfaceInfo()
{
    if (!interfaceInfo_)
        DualInterfaceInfo(major_, true, &interfaceInfo_);
    return interfaceInfo_;
}

// IDispatch

STDMETHODIMP Control::GetTypeInfoCount(UINT* count)
{
    Called("IDispatch.GetTypeInfoCount");
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP Control::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    LogCall("IDispatch.GetTypeInfo", Identity()).Number("index", index).Record();
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return DualInterfaceInfo(major_, false, info);
}

STDMETHODIMP Control::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    LogCall("IDispatch.GetIDsOfNames", Identity())
        .Text("name", names && count ? names[0] : nullptr)
        .Number("count", count)
        .Record();
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = InterfaceInfo();
    return info ? DispGetIDsOfNames(info, names, count, ids) : E_UNEXPECTED;
}

STDMETHODIMP Control::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* exception, UINT* argumentError)
{
    LogCall("IDispatch.Invoke", Identity())
        .Number("dispid", id)
        .Number("flags", flags)
        .Number("args", params ? params->cArgs : -1)
        .Record();
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (!params) {
        Violation("IDispatch.Invoke without parameters");
        return E_INVALIDARG;
    }
    ITypeInfo* info = InterfaceInfo();
    if (!info)
        return E_UNEXPECTED;
    Scope scope(*this);
    return DispInvoke(static_cast<IznFlashPlayer*>(this), info, id, flags, params, result,
                      exception, argumentError);
}

// Playback

STDMETHODIMP Control::get_ReadyState(LONG* state)
{
    Called("IznFlashPlayer.ReadyState");
    return GetValue(readyState_, state);
}

STDMETHODIMP Control::get_TotalFrames(LONG* frames)
{
    Called("IznFlashPlayer.TotalFrames");
    return GetValue(movie_ ? movie_->TotalFrames() : 0, frames);
}

STDMETHODIMP Control::get_Playing(VARIANT_BOOL* playing)
{
    Called("IznFlashPlayer.get_Playing");
    return GetBool(movie_ && movie_->IsPlaying(), playing);
}

STDMETHODIMP Control::put_Playing(VARIANT_BOOL playing)
{
    LogCall("IznFlashPlayer.put_Playing", Identity()).Number("value", playing).Record();
    return playing ? Play() : StopPlay();
}

STDMETHODIMP Control::get_Loop(VARIANT_BOOL* loop)
{
    Called("IznFlashPlayer.get_Loop");
    return GetBool(loop_, loop);
}

STDMETHODIMP Control::put_Loop(VARIANT_BOOL loop)
{
    LogCall("IznFlashPlayer.put_Loop", Identity()).Number("value", loop).Record();
    loop_ = loop != VARIANT_FALSE;
    if (movie_)
        movie_->SetLoop(loop_);
    return S_OK;
}

STDMETHODIMP Control::get_Movie(BSTR* url)
{
    Called("IznFlashPlayer.get_Movie");
    return GetText(movieUrl_, url);
}

STDMETHODIMP Control::put_Movie(BSTR url)
{
    LogCall("IznFlashPlayer.put_Movie", Identity()).Text("url", url).Record();
    return LoadMovie(0, url);
}

STDMETHODIMP Control::get_FrameNum(LONG* frame)
{
    Called("IznFlashPlayer.get_FrameNum");
    return GetValue(movie_ ? movie_->CurrentFrame() : 0, frame);
}

STDMETHODIMP Control::put_FrameNum(LONG frame)
{
    LogCall("IznFlashPlayer.put_FrameNum", Identity()).Number("value", frame).Record();
    return GotoFrame(frame);
}

STDMETHODIMP Control::Play()
{
    Called("IznFlashPlayer.Play");
    Scope scope(*this);
    if (movie_)
        movie_->Play();
    return S_OK;
}

STDMETHODIMP Control::Stop()
{
    Called("IznFlashPlayer.Stop");
    Scope scope(*this);
    if (movie_)
        movie_->StopPlay();
    return S_OK;
}

STDMETHODIMP Control::Back()
{
    Called("IznFlashPlayer.Back");
    Scope scope(*this);
    if (movie_)
        movie_->Back();
    return S_OK;
}

STDMETHODIMP Control::Forward()
{
    Called("IznFlashPlayer.Forward");
    Scope scope(*this);
    if (movie_)
        movie_->Forward();
    return S_OK;
}

STDMETHODIMP Control::Rewind()
{
    Called("IznFlashPlayer.Rewind");
    Scope scope(*this);
    if (movie_)
        movie_->Rewind();
    return S_OK;
}

STDMETHODIMP Control::StopPlay()
{
    Called("IznFlashPlayer.StopPlay");
    Scope scope(*this);
    if (movie_)
        movie_->StopPlay();
    return S_OK;
}

STDMETHODIMP Control::GotoFrame(LONG frame)
{
    LogCall("IznFlashPlayer.GotoFrame", Identity()).Number("frame", frame).Record();
    Scope scope(*this);
    if (movie_)
        movie_->GotoFrame(frame);
    return S_OK;
}

STDMETHODIMP Control::CurrentFrame(LONG* frame)
{
    Called("IznFlashPlayer.CurrentFrame");
    return GetValue(movie_ ? movie_->CurrentFrame() : 0, frame);
}

STDMETHODIMP Control::IsPlaying(VARIANT_BOOL* playing)
{
    Called("IznFlashPlayer.IsPlaying");
    return GetBool(movie_ && movie_->IsPlaying(), playing);
}

STDMETHODIMP Control::PercentLoaded(LONG* percent)
{
    Called("IznFlashPlayer.PercentLoaded");
    const int total = movie_ ? movie_->TotalFrames() : 0;
    return GetValue(total ? movie_->FramesLoaded() * 100 / total : 0, percent);
}

STDMETHODIMP Control::FrameLoaded(LONG frame, VARIANT_BOOL* loaded)
{
    Called("IznFlashPlayer.FrameLoaded");
    return GetBool(movie_ && frame >= 0 && frame < movie_->FramesLoaded(), loaded);
}

STDMETHODIMP Control::FlashVersion(LONG* version)
{
    Called("IznFlashPlayer.FlashVersion");
    // The major version in the upper 16 bits, as containers read it.
    return GetValue(static_cast<LONG>(major_) << 16, version);
}

STDMETHODIMP Control::TGotoFrame(BSTR target, LONG frame)
{
    LogCall("IznFlashPlayer.TGotoFrame", Identity()).Text("target", target).Record();
    return IsMainTimeline(target) ? GotoFrame(frame) : E_INVALIDARG;
}

STDMETHODIMP Control::TCurrentFrame(BSTR target, LONG* frame)
{
    LogCall("IznFlashPlayer.TCurrentFrame", Identity()).Text("target", target).Record();
    return IsMainTimeline(target) ? CurrentFrame(frame) : E_INVALIDARG;
}

STDMETHODIMP Control::TPlay(BSTR target)
{
    LogCall("IznFlashPlayer.TPlay", Identity()).Text("target", target).Record();
    return IsMainTimeline(target) ? Play() : E_INVALIDARG;
}

STDMETHODIMP Control::TStopPlay(BSTR target)
{
    LogCall("IznFlashPlayer.TStopPlay", Identity()).Text("target", target).Record();
    return IsMainTimeline(target) ? StopPlay() : E_INVALIDARG;
}

// What the engine has no means for (labels by name from outside, properties of clips, zooming,
// profiling) is refused rather than pretended.

STDMETHODIMP Control::SetZoomRect(LONG, LONG, LONG, LONG)
{
    Called("IznFlashPlayer.SetZoomRect");
    return E_NOTIMPL;
}

STDMETHODIMP Control::Zoom(int)
{
    Called("IznFlashPlayer.Zoom");
    return E_NOTIMPL;
}

STDMETHODIMP Control::Pan(LONG, LONG, int)
{
    Called("IznFlashPlayer.Pan");
    return E_NOTIMPL;
}

STDMETHODIMP Control::TGotoLabel(BSTR, BSTR)
{
    Called("IznFlashPlayer.TGotoLabel");
    return E_NOTIMPL;
}

STDMETHODIMP Control::TCurrentLabel(BSTR, BSTR* label)
{
    Called("IznFlashPlayer.TCurrentLabel");
    if (label)
        *label = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Control::TSetProperty(BSTR, int, BSTR)
{
    Called("IznFlashPlayer.TSetProperty");
    return E_NOTIMPL;
}

STDMETHODIMP Control::TGetProperty(BSTR, int, BSTR* value)
{
    Called("IznFlashPlayer.TGetProperty");
    if (value)
        *value = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Control::TCallFrame(BSTR, int)
{
    Called("IznFlashPlayer.TCallFrame");
    return E_NOTIMPL;
}

STDMETHODIMP Control::TCallLabel(BSTR, BSTR)
{
    Called("IznFlashPlayer.TCallLabel");
    return E_NOTIMPL;
}

STDMETHODIMP Control::TSetPropertyNum(BSTR, int, double)
{
    Called("IznFlashPlayer.TSetPropertyNum");
    return E_NOTIMPL;
}

STDMETHODIMP Control::TGetPropertyNum(BSTR, int, double* value)
{
    Called("IznFlashPlayer.TGetPropertyNum");
    if (value)
        *value = 0;
    return E_NOTIMPL;
}

STDMETHODIMP Control::TGetPropertyAsNumber(BSTR, int, double* value)
{
    Called("IznFlashPlayer.TGetPropertyAsNumber");
    if (value)
        *value = 0;
    return E_NOTIMPL;
}

// Scripting

STDMETHODIMP Control::SetVariable(BSTR name, BSTR value)
{
    LogCall("IznFlashPlayer.SetVariable", Identity())
        .Text("name", name)
        .Text("value", value)
        .Record();
    Scope scope(*this);
    if (!movie_ || !movie_->SetVariable(Utf8(name), Utf8(value)))
        return E_FAIL;
    return S_OK;
}

STDMETHODIMP Control::GetVariable(BSTR name, BSTR* value)
{
    LogCall("IznFlashPlayer.GetVariable", Identity()).Text("name", name).Record();
    if (!value)
        return Violation("IznFlashPlayer.GetVariable without an out pointer"), E_POINTER;
    *value = nullptr;
    Scope scope(*this);
    std::optional<std::string> found = movie_ ? movie_->GetVariable(Utf8(name)) : std::nullopt;
    if (!found)
        return E_FAIL;
    return GetText(Wide(*found), value);
}

bool Control::RefuseBefore8(const char* call)
{
    if (major_ >= kFirstVersionWithCallFunction)
        return false;
    Violation(std::string(call) + " on a control of version " + std::to_string(major_) +
              ", whose interface ends before CallFunction");
    return true;
}

STDMETHODIMP Control::CallFunction(BSTR request, BSTR* response)
{
    LogCall("IznFlashPlayer.CallFunction", Identity()).Text("request", request).Record();
    if (RefuseBefore8("IznFlashPlayer.CallFunction"))
        return E_NOTIMPL;
    if (!response)
        return Violation("IznFlashPlayer.CallFunction without an out pointer"), E_POINTER;
    *response = nullptr;
    Scope scope(*this);
    std::optional<std::string> answer =
        movie_ ? movie_->InvokeCallback(Utf8(request)) : std::nullopt;
    // A name the movie did not register is an error for the caller, as a failed call.
    if (!answer)
        return E_FAIL;
    return GetText(Wide(*answer), response);
}

STDMETHODIMP Control::SetReturnValue(BSTR value)
{
    LogCall("IznFlashPlayer.SetReturnValue", Identity()).Text("value", value).Record();
    if (RefuseBefore8("IznFlashPlayer.SetReturnValue"))
        return E_NOTIMPL;
    if (!returnValue_) {
        Violation("IznFlashPlayer.SetReturnValue outside a FlashCall event");
        return E_UNEXPECTED;
    }
    *returnValue_ = TextOf(value);
    return S_OK;
}

STDMETHODIMP Control::DisableLocalSecurity()
{
    Called("IznFlashPlayer.DisableLocalSecurity");
    if (RefuseBefore8("IznFlashPlayer.DisableLocalSecurity"))
        return E_NOTIMPL;
    localSecurityLifted_ = true;
    return S_OK;
}

STDMETHODIMP Control::EnforceLocalSecurity()
{
    Called("IznFlashPlayer.EnforceLocalSecurity");
    localSecurityLifted_ = false;
    return S_OK;
}

// Properties kept as they are set.

#define ZN_TEXT_PROPERTY(Name, field)                                                              \
    STDMETHODIMP Control::get_##Name(BSTR* value)                                                  \
    {                                                                                              \
        Called("IznFlashPlayer.get_" #Name);                                                       \
        return GetText(field, value);                                                              \
    }                                                                                              \
    STDMETHODIMP Control::put_##Name(BSTR value)                                                   \
    {                                                                                              \
        LogCall("IznFlashPlayer.put_" #Name, Identity()).Text("value", value).Record();            \
        return PutText(field, value);                                                              \
    }

#define ZN_BOOL_PROPERTY(Name, field)                                                              \
    STDMETHODIMP Control::get_##Name(VARIANT_BOOL* value)                                          \
    {                                                                                              \
        Called("IznFlashPlayer.get_" #Name);                                                       \
        return GetBool(field, value);                                                              \
    }                                                                                              \
    STDMETHODIMP Control::put_##Name(VARIANT_BOOL value)                                           \
    {                                                                                              \
        LogCall("IznFlashPlayer.put_" #Name, Identity()).Number("value", value).Record();          \
        field = value != VARIANT_FALSE;                                                            \
        return S_OK;                                                                               \
    }

#define ZN_NUMBER_PROPERTY(Name, Type, field)                                                      \
    STDMETHODIMP Control::get_##Name(Type* value)                                                  \
    {                                                                                              \
        Called("IznFlashPlayer.get_" #Name);                                                       \
        return GetValue(field, value);                                                             \
    }                                                                                              \
    STDMETHODIMP Control::put_##Name(Type value)                                                   \
    {                                                                                              \
        LogCall("IznFlashPlayer.put_" #Name, Identity()).Number("value", value).Record();          \
        field = value;                                                                             \
        return S_OK;                                                                               \
    }

ZN_TEXT_PROPERTY(WMode, wmode_)
ZN_TEXT_PROPERTY(SAlign, salign_)
ZN_TEXT_PROPERTY(Base, base_)
ZN_TEXT_PROPERTY(Scale, scale_)
ZN_TEXT_PROPERTY(BGColor, bgcolor_)
ZN_TEXT_PROPERTY(Quality2, quality2_)
ZN_TEXT_PROPERTY(SWRemote, swRemote_)
ZN_TEXT_PROPERTY(FlashVars, flashVars_)
ZN_TEXT_PROPERTY(AllowScriptAccess, allowScriptAccess_)
ZN_TEXT_PROPERTY(MovieData, movieData_)
ZN_TEXT_PROPERTY(ProfileAddress, profileAddress_)
ZN_BOOL_PROPERTY(Menu, menu_)
ZN_BOOL_PROPERTY(DeviceFont, deviceFont_)
ZN_BOOL_PROPERTY(EmbedMovie, embedMovie_)
ZN_BOOL_PROPERTY(SeamlessTabbing, seamlessTabbing_)
ZN_BOOL_PROPERTY(Profile, profile_)
ZN_NUMBER_PROPERTY(Quality, int, quality_)
ZN_NUMBER_PROPERTY(AlignMode, int, alignMode_)
ZN_NUMBER_PROPERTY(BackgroundColor, LONG, backgroundColor_)
ZN_NUMBER_PROPERTY(ProfilePort, LONG, profilePort_)

STDMETHODIMP Control::get_ScaleMode(ZnScaleMode* mode)
{
    Called("IznFlashPlayer.get_ScaleMode");
    return GetValue(scaleMode_, mode);
}

STDMETHODIMP Control::put_ScaleMode(ZnScaleMode mode)
{
    LogCall("IznFlashPlayer.put_ScaleMode", Identity()).Number("value", mode).Record();
    if (mode != ShowAll && mode != NoBorder && mode != ExactFit)
        return CTL_E_INVALIDPROPERTYVALUE;
    scaleMode_ = mode;
    return S_OK;
}

STDMETHODIMP Control::get_AllowNetworking(BSTR* value)
{
    Called("IznFlashPlayer.get_AllowNetworking");
    if (RefuseBefore8("IznFlashPlayer.get_AllowNetworking"))
        return E_NOTIMPL;
    return GetText(allowNetworking_, value);
}

STDMETHODIMP Control::put_AllowNetworking(BSTR value)
{
    Called("IznFlashPlayer.put_AllowNetworking");
    if (RefuseBefore8("IznFlashPlayer.put_AllowNetworking"))
        return E_NOTIMPL;
    return PutText(allowNetworking_, value);
}

STDMETHODIMP Control::get_AllowFullScreen(BSTR* value)
{
    Called("IznFlashPlayer.get_AllowFullScreen");
    if (RefuseBefore8("IznFlashPlayer.get_AllowFullScreen"))
        return E_NOTIMPL;
    return GetText(allowFullScreen_, value);
}

STDMETHODIMP Control::put_AllowFullScreen(BSTR value)
{
    Called("IznFlashPlayer.put_AllowFullScreen");
    if (RefuseBefore8("IznFlashPlayer.put_AllowFullScreen"))
        return E_NOTIMPL;
    return PutText(allowFullScreen_, value);
}

STDMETHODIMP Control::get_InlineData(IUnknown** data)
{
    Called("IznFlashPlayer.get_InlineData");
    if (!data)
        return E_POINTER;
    *data = nullptr;
    return S_OK;
}

STDMETHODIMP Control::put_InlineData(IUnknown*)
{
    Called("IznFlashPlayer.put_InlineData");
    return E_NOTIMPL;
}

} // namespace zn::ax
