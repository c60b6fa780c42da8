// One instance of the reference control: a windowless in-place movie player behind the OLE
// control interfaces and the dual automation interface of its type library.
//
// Call order a container keeps: SetClientSite (before or after InitNew, as GetMiscStatus asks),
// InitNew, the connection points, DoVerb(OLEIVERB_INPLACEACTIVATE) which activates windowless
// through the site, then Draw, SetObjectRects and OnWindowMessage while active, Close, and the
// last Release. Anything else is answered as COM asks and, where it breaks that order, logged
// as a violation. The site may call back into the control from inside its own calls (a repaint
// inside InvalidateRect), so the movie is never freed inside a call into it.
#pragma once

#include "common/frame_timer.h"
#include "connection_point.h"
#include "movie_download.h"
#include "player_control.h"

#include "znswf/compositor.h"
#include "znswf/player_host.h"

#include <ocidl.h>
#include <ole2.h>

#include <memory>
#include <string>
#include <vector>

namespace zn::swf {
class MoviePlayer;
}

namespace zn::ax {

class Control final : public IznFlashPlayer,
                      public IOleObject,
                      public IPersistStreamInit,
                      public IOleControl,
                      public IConnectionPointContainer,
                      public IViewObject,
                      public IOleInPlaceObjectWindowless,
                      public IOleInPlaceActiveObject,
                      private swf::PlayerHost {
public:
    // Major is the version the control reports and the interface it keeps to (see settings.h).
    explicit Control(int major);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The identity a container holds; the test controls name instances by it.
    IUnknown* Identity() { return static_cast<IOleObject*>(this); }
    int Major() const { return major_; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch, served from the type library
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // IznFlashPlayer
    STDMETHODIMP get_ReadyState(LONG* state) override;
    STDMETHODIMP get_TotalFrames(LONG* frames) override;
    STDMETHODIMP get_Playing(VARIANT_BOOL* playing) override;
    STDMETHODIMP put_Playing(VARIANT_BOOL playing) override;
    STDMETHODIMP get_Quality(int* quality) override;
    STDMETHODIMP put_Quality(int quality) override;
    STDMETHODIMP get_ScaleMode(ZnScaleMode* mode) override;
    STDMETHODIMP put_ScaleMode(ZnScaleMode mode) override;
    STDMETHODIMP get_AlignMode(int* mode) override;
    STDMETHODIMP put_AlignMode(int mode) override;
    STDMETHODIMP get_BackgroundColor(LONG* color) override;
    STDMETHODIMP put_BackgroundColor(LONG color) override;
    STDMETHODIMP get_Loop(VARIANT_BOOL* loop) override;
    STDMETHODIMP put_Loop(VARIANT_BOOL loop) override;
    STDMETHODIMP get_Movie(BSTR* url) override;
    STDMETHODIMP put_Movie(BSTR url) override;
    STDMETHODIMP get_FrameNum(LONG* frame) override;
    STDMETHODIMP put_FrameNum(LONG frame) override;
    STDMETHODIMP SetZoomRect(LONG left, LONG top, LONG right, LONG bottom) override;
    STDMETHODIMP Zoom(int factor) override;
    STDMETHODIMP Pan(LONG x, LONG y, int mode) override;
    STDMETHODIMP Play() override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Back() override;
    STDMETHODIMP Forward() override;
    STDMETHODIMP Rewind() override;
    STDMETHODIMP StopPlay() override;
    STDMETHODIMP GotoFrame(LONG frame) override;
    STDMETHODIMP CurrentFrame(LONG* frame) override;
    STDMETHODIMP IsPlaying(VARIANT_BOOL* playing) override;
    STDMETHODIMP PercentLoaded(LONG* percent) override;
    STDMETHODIMP FrameLoaded(LONG frame, VARIANT_BOOL* loaded) override;
    STDMETHODIMP FlashVersion(LONG* version) override;
    STDMETHODIMP get_WMode(BSTR* mode) override;
    STDMETHODIMP put_WMode(BSTR mode) override;
    STDMETHODIMP get_SAlign(BSTR* align) override;
    STDMETHODIMP put_SAlign(BSTR align) override;
    STDMETHODIMP get_Menu(VARIANT_BOOL* menu) override;
    STDMETHODIMP put_Menu(VARIANT_BOOL menu) override;
    STDMETHODIMP get_Base(BSTR* base) override;
    STDMETHODIMP put_Base(BSTR base) override;
    STDMETHODIMP get_Scale(BSTR* scale) override;
    STDMETHODIMP put_Scale(BSTR scale) override;
    STDMETHODIMP get_DeviceFont(VARIANT_BOOL* deviceFont) override;
    STDMETHODIMP put_DeviceFont(VARIANT_BOOL deviceFont) override;
    STDMETHODIMP get_EmbedMovie(VARIANT_BOOL* embed) override;
    STDMETHODIMP put_EmbedMovie(VARIANT_BOOL embed) override;
    STDMETHODIMP get_BGColor(BSTR* color) override;
    STDMETHODIMP put_BGColor(BSTR color) override;
    STDMETHODIMP get_Quality2(BSTR* quality) override;
    STDMETHODIMP put_Quality2(BSTR quality) override;
    STDMETHODIMP LoadMovie(int layer, BSTR url) override;
    STDMETHODIMP TGotoFrame(BSTR target, LONG frame) override;
    STDMETHODIMP TGotoLabel(BSTR target, BSTR label) override;
    STDMETHODIMP TCurrentFrame(BSTR target, LONG* frame) override;
    STDMETHODIMP TCurrentLabel(BSTR target, BSTR* label) override;
    STDMETHODIMP TPlay(BSTR target) override;
    STDMETHODIMP TStopPlay(BSTR target) override;
    STDMETHODIMP SetVariable(BSTR name, BSTR value) override;
    STDMETHODIMP GetVariable(BSTR name, BSTR* value) override;
    STDMETHODIMP TSetProperty(BSTR target, int property, BSTR value) override;
    STDMETHODIMP TGetProperty(BSTR target, int property, BSTR* value) override;
    STDMETHODIMP TCallFrame(BSTR target, int frame) override;
    STDMETHODIMP TCallLabel(BSTR target, BSTR label) override;
    STDMETHODIMP TSetPropertyNum(BSTR target, int property, double value) override;
    STDMETHODIMP TGetPropertyNum(BSTR target, int property, double* value) override;
    STDMETHODIMP TGetPropertyAsNumber(BSTR target, int property, double* value) override;
    STDMETHODIMP get_SWRemote(BSTR* remote) override;
    STDMETHODIMP put_SWRemote(BSTR remote) override;
    STDMETHODIMP get_FlashVars(BSTR* vars) override;
    STDMETHODIMP put_FlashVars(BSTR vars) override;
    STDMETHODIMP get_AllowScriptAccess(BSTR* access) override;
    STDMETHODIMP put_AllowScriptAccess(BSTR access) override;
    STDMETHODIMP get_MovieData(BSTR* data) override;
    STDMETHODIMP put_MovieData(BSTR data) override;
    STDMETHODIMP get_InlineData(IUnknown** data) override;
    STDMETHODIMP put_InlineData(IUnknown* data) override;
    STDMETHODIMP get_SeamlessTabbing(VARIANT_BOOL* seamless) override;
    STDMETHODIMP put_SeamlessTabbing(VARIANT_BOOL seamless) override;
    STDMETHODIMP EnforceLocalSecurity() override;
    STDMETHODIMP get_Profile(VARIANT_BOOL* profile) override;
    STDMETHODIMP put_Profile(VARIANT_BOOL profile) override;
    STDMETHODIMP get_ProfileAddress(BSTR* address) override;
    STDMETHODIMP put_ProfileAddress(BSTR address) override;
    STDMETHODIMP get_ProfilePort(LONG* port) override;
    STDMETHODIMP put_ProfilePort(LONG port) override;
    STDMETHODIMP CallFunction(BSTR request, BSTR* response) override;
    STDMETHODIMP SetReturnValue(BSTR value) override;
    STDMETHODIMP DisableLocalSecurity() override;
    STDMETHODIMP get_AllowNetworking(BSTR* networking) override;
    STDMETHODIMP put_AllowNetworking(BSTR networking) override;
    STDMETHODIMP get_AllowFullScreen(BSTR* fullScreen) override;
    STDMETHODIMP put_AllowFullScreen(BSTR fullScreen) override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
    STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG message, IOleClientSite* site, LONG index, HWND parent,
                        LPCRECT position) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
    STDMETHODIMP Update() override;
    STDMETHODIMP IsUpToDate() override;
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

    // IPersistStreamInit (GetClassID also serves IPersist)
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(LPSTREAM stream) override;
    STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew() override;

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG* message) override;
    STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // IViewObject
    STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectData, DVTARGETDEVICE* device,
                      HDC targetDevice, HDC drawDc, LPCRECTL bounds, LPCRECTL metafileBounds,
                      BOOL(STDMETHODCALLTYPE* proceed)(ULONG_PTR), ULONG_PTR proceedValue) override;
    STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectData, DVTARGETDEVICE* device,
                             HDC targetDevice, LOGPALETTE** colors) override;
    STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectData, DWORD* freeze) override;
    STDMETHODIMP Unfreeze(DWORD freeze) override;
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;

    // IOleWindow (for both in-place interfaces)
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;

    // IOleInPlaceObject
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override;

    // IOleInPlaceObjectWindowless
    STDMETHODIMP OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                 LRESULT* result) override;
    STDMETHODIMP GetDropTarget(IDropTarget** target) override;

    // IOleInPlaceActiveObject
    STDMETHODIMP TranslateAccelerator(LPMSG message) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;

    // Test controls (reference_control_exports.h).
    HRESULT InvalidateForTest(const RECT* rect);
    HRESULT FireFSCommand(const std::wstring& command, const std::wstring& args);
    // The value the container set with SetReturnValue while the event ran.
    HRESULT FireFlashCall(const std::wstring& request, std::wstring& answer);
    HRESULT RequestFile(const std::wstring& url);
    HRESULT DrawThroughSite();

    // A download the control started has ended (movie_download.h).
    void DownloadEnded(MovieDownload& download, HRESULT status);

private:
    // Held through every call that may reach the movie or the site: keeps the control alive
    // (the site may release it from inside a callback) and the replaced movies until the
    // outermost call returns.
    class Scope {
    public:
        explicit Scope(Control& control) : control_(control)
        {
            ++control_.depth_;
            control_.AddRef();
        }
        ~Scope()
        {
            if (--control_.depth_ == 0)
                control_.retiredMovies_.clear();
            control_.Release();
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        Control& control_;
    };

    ~Control();

    // What the movie asks of its control.
    void RequestUrl(const std::string& url, const std::string& target) override;
    void FSCommand(const std::string& command, const std::string& arguments) override;
    std::string CallExternal(const std::string& name,
                             const std::vector<swf::ExternalValue>& arguments) override;
    void InvalidateRect(const swf::PixelRect& rect) override;

    // Logs "<interface>.<method> control=0x..." for a call without arguments worth logging.
    void Called(const char* call);
    // After Close, the call is a violation and is refused.
    bool RefuseAfterClose(const char* call);
    // Members past the end of the older interface, reached through the vtable anyway.
    bool RefuseBefore8(const char* call);
    HRESULT ActivateWindowless(IOleClientSite* site, LPCRECT position);
    void Deactivate();
    void ReadAmbient(DISPID id);
    HRESULT SiteInvalidate(const RECT* rect);
    // Logs a call into the site ("Site.<method>") with its answer; a failure is a violation.
    HRESULT SiteCall(const char* call, HRESULT answer);
    // Asks the site, as IOleControlSite, how an inch of HIMETRIC maps to its units and back.
    void ReadSiteScale(IOleClientSite& site);
    HRESULT FireEvent(DISPID id, VARIANT* argumentsLastFirst, UINT count);
    HRESULT StartDownload(const std::wstring& url, MovieDownload::Purpose purpose);
    void MovieArrived(const std::vector<std::uint8_t>& bytes, const std::wstring& url);
    void SetReadyState(LONG state);
    void AdvanceFrame();
    void Paint(HDC dc, const RECT& view);
    int Width() const { return position_.right - position_.left; }
    int Height() const { return position_.bottom - position_.top; }
    bool Transparent() const;
    ITypeInfo* InterfaceInfo();

    LONG references_ = 1;
    int major_;
    // Calls into the control that are still running; the movie replaced inside one lives on
    // until the outermost returns.
    int depth_ = 0;
    // Events being fired and draws running: the container must not close the control from an
    // event handler, nor draw again from inside a draw.
    int firing_ = 0;
    bool drawing_ = false;
    bool initialized_ = false;
    bool closed_ = false;
    bool active_ = false;
    IOleClientSite* clientSite_ = nullptr;
    IOleInPlaceSiteWindowless* inPlaceSite_ = nullptr;
    IAdviseSink* viewSink_ = nullptr;
    RECT position_{};
    ConnectionPoint propertySinks_;
    ConnectionPoint eventSinks_;
    ITypeInfo* interfaceInfo_ = nullptr;

    std::unique_ptr<swf::MoviePlayer> movie_;
    std::vector<std::unique_ptr<swf::MoviePlayer>> retiredMovies_;
    std::vector<MovieDownload*> downloads_;
    swf::Compositor compositor_;
    player::FrameTimer timer_;
    bool loop_ = true;
    LONG readyState_ = 4; // complete: nothing to load yet
    bool localSecurityLifted_ = false;
    // Set only inside a FlashCall event: what the container answered through SetReturnValue.
    std::wstring* returnValue_ = nullptr;

    std::wstring movieUrl_;
    // "Transparent" leaves out the movie's background.
    std::wstring wmode_ = L"Window";
    // Properties the control keeps but does not act on.
    std::wstring salign_, base_, scale_ = L"ShowAll", bgcolor_, quality2_ = L"High", swRemote_,
                                 flashVars_, allowScriptAccess_ = L"sameDomain", movieData_,
                                 profileAddress_, allowNetworking_ = L"all",
                                 allowFullScreen_ = L"false";
    int quality_ = 1, alignMode_ = 0;
    ZnScaleMode scaleMode_ = ShowAll;
    LONG backgroundColor_ = -1, profilePort_ = 0;
    bool menu_ = true, deviceFont_ = false, embedMovie_ = false, seamlessTabbing_ = true,
         profile_ = false;
};

} // namespace zn::ax
