// What tests can ask of the reference control beyond COM: exports of its DLL, resolved by these
// plain names with GetProcAddress. A control is named by its identity, the IUnknown that
// QueryInterface answers (the same pointer as its IOleObject); anything else is refused.
//
// The log holds one line per call, in order, each the call's name, "control=" and the control's
// identity, then " key=value" per argument:
//   IClassFactory.CreateInstance control=0x00a01234 version=10
//   IOleObject.SetClientSite control=0x00a01234 site=0x0061fe00
//   Site.QueryInterface control=0x00a01234 iid="IOleInPlaceSiteEx" hr=0x80004002
//     (one per interface asked of a new site; then Site.GetContainer and Site.GetMoniker)
//   Site.Ambient control=0x00a01234 dispid=-709 hr=0x00000000 vt=11 value="True"
//   IOleObject.DoVerb control=... verb=-5 message=0x00000000 site=... index=0 parent=0x00000000 rect=(0,0,100,50)
//   Site.CanWindowlessActivate control=... hr=0x00000000
//   Site.OnInPlaceActivateEx control=... flags=1 hr=0x00000000
//   Site.GetWindowContext control=... frame=... document=0x00000000 position=(0,0,100,50) clip=(0,0,32767,32767) hr=0x00000000
//   Site.TransformCoords control=... to="container" point="(96,96)" hr=0x00000000   (an inch)
//   Site.TransformCoords control=... to="himetric" point="(2540,2540)" hr=0x00000000
//   Site.InvalidateRect control=... rect=(0,0,100,50) hr=0x00000000   (rect=null: the whole control)
//   IViewObject.Draw control=... aspect=16 index=-1 dc=0x... bounds=(0,0,100,50) clip=(0,0,100,50)
//   IOleInPlaceObject.SetObjectRects control=... position=(0,0,100,50) clip=(0,0,100,50)
//   IOleInPlaceObjectWindowless.OnWindowMessage control=... msg=513 wParam=1 lParam=327700
//   Site.GetWindow control=... window=0x00010062 hr=0x00000000   (on a right press)
//   Site.SetFocus control=... hr=0x00000000   (then Site.SetCapture, on a left press)
//   Site.GetCapture control=... hr=0x00000001   (on a left release; SetCapture when S_OK)
//   Event control=... dispid=150 hr=0x00000000
//   Site.OnChanged control=... dispid=-525 hr=0x00000000
//   Site.QueryService control=... service="IBindHost" object=0x... hr=0x00000000
//   Site.CreateMoniker control=... name="http://host/movie.swf" moniker=0x... hr=0x00000000
//   IBindStatusCallback.OnStartBinding control=... binding=0x00000000
//   IBindStatusCallback.OnProgress control=... progress=100 max=100 status=6 text=""
//   IBindStatusCallback.OnDataAvailable control=... flags=5 size=120 format=0x00000000 tymed=4
//   IBindStatusCallback.OnStopBinding control=... hr=0x00000000 error=""
//   Moniker.BindToStorage control=... object=0x00000000 hr=0x00000000
//   Download.End control=... url="http://host/movie.swf" bytes=120 hr=0x00000000
//   Movie.RequestRefused control=... url="http://host/data.xml"   (a local movie, not lifted)
//   IOleObject.Close control=... save=1
//   Site.OnInPlaceDeactivate control=... hr=0x00000000
//   Control.FinalRelease control=...
// Lines of "Site." are the control's calls into its container, written when the container
// answers, with its answer (so what the container did inside comes before them);
// "Event" lines are events fired to each connected sink. Texts are quoted UTF-8, addresses "0x"
// and eight hexadecimal digits, HRESULTs "0x" and eight digits. Violations of the container's
// contract are "Violation what=..." lines, in the log and in a log of their own. The logs are the
// DLL's, for the whole process, and keep their last 100000 lines ("CallLog dropped=N" first
// when older ones had to go).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

extern "C" {

// Copies the log, zero-terminated, into buffer and clears it, when capacity exceeds its length;
// otherwise copies nothing and keeps it. Answers the log's length in bytes either way, so
// (nullptr, 0) asks for the size.
using ZnAxTakeLogFunction = std::size_t (*)(char* buffer, std::size_t capacity);

// Contract violations since the last call, taken as ZnAxTakeLog takes the log.
using ZnAxTakeViolationsFunction = std::size_t (*)(char* buffer, std::size_t capacity);

// The number of controls created and not yet released.
using ZnAxLiveControlsFunction = std::size_t (*)();

// The major version that controls created from now on report through FlashVersion (in its upper
// 16 bits); 10 until set. Controls below 8 have the older, shorter interface: their type
// information ends before CallFunction, and calls on its later members are violations.
using ZnAxSetVersionFunction = void (*)(int major);

// The control calls its site's InvalidateRect with rect (null: the whole control). Answers the
// site's HRESULT, E_INVALIDARG for a control that is not live, E_UNEXPECTED when not in place.
using ZnAxInvalidateRectFunction = HRESULT (*)(void* control, const RECT* rect);

// The control draws its current frame outside IViewObject::Draw: the site's GetDC for its
// position, the frame, ReleaseDC. Answers GetDC's HRESULT, or as ZnAxInvalidateRect.
using ZnAxDrawThroughSiteFunction = HRESULT (*)(void* control);

// The control fires FSCommand (DISPID 150) with these UTF-8 texts. Answers S_OK, or the last
// failure a sink answered, or E_INVALIDARG.
using ZnAxFSCommandFunction = HRESULT (*)(void* control, const char* command, const char* args);

// The control fires FlashCall (DISPID 197) with this request (ExternalInterface XML, UTF-8). What
// the container set with SetReturnValue during the event is copied zero-terminated into answer
// when it fits; answers its length in bytes, or -1 when the control or the request is refused.
using ZnAxFlashCallFunction = std::int32_t (*)(void* control, const char* request, char* answer,
                                               std::size_t capacity);

// The control fetches url as a movie fetches a file (the container's bind host when it offers
// one); the bytes are received and dropped. Answers the bind's HRESULT.
using ZnAxRequestUrlFunction = HRESULT (*)(void* control, const char* url);

} // extern "C"

namespace zn::ax::control {

// The control's DLL, as the build places and registers it.
inline constexpr const wchar_t* kDllName = L"zn_reference_control.dll";

inline constexpr const char* kTakeLog = "ZnAxTakeLog";
inline constexpr const char* kTakeViolations = "ZnAxTakeViolations";
inline constexpr const char* kLiveControls = "ZnAxLiveControls";
inline constexpr const char* kSetVersion = "ZnAxSetVersion";
inline constexpr const char* kInvalidateRect = "ZnAxInvalidateRect";
inline constexpr const char* kDrawThroughSite = "ZnAxDrawThroughSite";
inline constexpr const char* kFSCommand = "ZnAxFSCommand";
inline constexpr const char* kFlashCall = "ZnAxFlashCall";
inline constexpr const char* kRequestUrl = "ZnAxRequestUrl";

} // namespace zn::ax::control
