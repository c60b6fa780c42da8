// The ActiveX driver: TznFlashDriverActiveX, the driver that creates the installed Flash ActiveX
// control in-process and is its windowless OLE container, painting it into the driver's buffer
// through its view object and forwarding input to it as window messages.
#pragma once

#include "zintara/core/flash_driver.h"
#include "zintara/driver_activex/flash_interfaces.h"
#include "zintara/framework/com.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zn {

namespace activex {
class TControlHost;
class TInPlaceSite;
class TBindHost;
class TUrlMoniker;
class TMovieSources;
} // namespace activex

// The Flash control's identifiers, as its type library and registration give them, and
// IDispatchEx's, which the system libraries do not define. IServiceProvider and IBindHost keep the
// SDK's own.
extern const GUID LIBID_znFlashPlayerObjects;
extern const GUID IID_IznFlashPlayer;
extern const GUID DIID__IznFlashPlayerEvents;
extern const GUID CLASS_znFlashPlayer;
extern const GUID IID_IFlashFactory;
extern const GUID CLASS_FlashObjectInterface;
extern const GUID IID_IFlashObjectInterface;
extern const GUID CLASS_FlashProp;
extern const GUID IID_IDispatchEx;

// What the driver knows of the control it hosts. One record serves every driver; it counts the
// drivers alive.
struct TControlData2 {
    GUID ClassID;
    // The event dispinterface, and the DISPIDs of the events the driver handles.
    GUID EventIID;
    std::int32_t EventCount;
    const std::int32_t* EventDispIDs;
    const void* LicenseKey;
    std::uint32_t Flags;
    std::int32_t Version;
    std::int32_t FontCount;
    const std::int32_t* FontIDs;
    std::int32_t PictureCount;
    const std::int32_t* PictureIDs;
    std::uint32_t Reserved;
    std::int32_t InstanceCount;
};
using PControlData = TControlData2*;

// Ready state change, progress, FSCommand and ExternalInterface call.
extern const std::int32_t FlashEventDispIDs[4];
extern TControlData2 FlashControlData;

// The key-state flags of a window message for the framework's shift state: the Shift, Alt and
// Ctrl keys and the left and right buttons; nothing else counts.
std::uint32_t ShiftStateToKeyFlags(TShiftState Shift);

// Decides once per process whether the control can be created: the first call creates it and
// releases it at once, later calls do nothing. PluginExists answers what it found.
void CheckFlashActiveX();

// Objects of the control's other two classes, created on request; the driver never uses them.
// The remote forms create them on the named machine. Both raise EOleSysError when the class is
// not there.
TComPtr<IUnknown> CreateFlashPropertyPage(const std::wstring& MachineName = {});
TComPtr<IDispatch> CreateFlashObjectInterface(const std::wstring& MachineName = {});

// The description of one enumerated property of the control, from its type information: each
// value with the name its enumeration gives it (leading underscores removed).
class TEnumPropDesc {
public:
    // The first ValueCount members of the enumeration TypeInfo describes.
    TEnumPropDesc(DISPID ADispID, int ValueCount, ITypeInfo& TypeInfo);

    DISPID DispID() const { return FDispID; }
    // "value - name" for each value, in the enumeration's order.
    std::vector<std::wstring> GetStrings() const;
    // "value - name" for a known value, else the number alone.
    std::wstring ValueToString(int V) const;
    // The value of a text that begins with one of the values ("2 - ExactFit", "2") or that is
    // one of the names, in any letter case; anything else raises EOleException.
    int StringToValue(const std::wstring& S) const;

private:
    struct TEnumValue {
        int Value;
        std::wstring Ident;
    };
    DISPID FDispID;
    std::vector<TEnumValue> FValues;
};

// The driver that hosts the Flash ActiveX control windowless in its buffer. When the control
// cannot be created the driver is inert: every operation does nothing and every query answers
// empty, false or 0. Checked calls into the control that fail raise EOleSysError.
class TznFlashDriverActiveX : public TznFlashDriver {
public:
    // Creates the control, activates it in place windowless over the whole buffer and puts it
    // in transparent window mode.
    TznFlashDriverActiveX(int AWidth, int AHeight, std::uint32_t ABackground);
    // Closes and releases the control before the base class frees the buffers; from inside a
    // call from the control, once that call returns.
    ~TznFlashDriverActiveX() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // Whether the control can be created; runs CheckFlashActiveX on the first call.
    static bool PluginExists();
    bool GetIsFlashAvailable() const;

    // Tells the control its new rectangles and repaints the whole buffer.
    void CreateBuffer() override;
    // Tells the control its new rectangles.
    void ResizeBuffer() override;
    void ForceUpdate() override;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseWheel(TShiftState Shift, int X, int Y, int WheelDelta, bool& Handled) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Char, TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;

    // Both hand the control a name under the pseudo host; the control fetches it through the
    // driver's bind host, which serves it from the driver's own sources. A stream is copied at
    // once: the caller may free it when the call returns.
    void LoadMovie(const std::wstring& AUrl) override;
    void LoadMovieFromStream(TStream& AStream) override;
    std::wstring GetVariable(const std::wstring& name) override;
    void SetVariable(const std::wstring& name, const std::wstring& value) override;
    // Only controls of major version 8 and later have CallFunction and SetReturnValue; with an
    // older one they do nothing.
    std::wstring CallFunction(const std::wstring& request) override;
    void SetReturnValue(const std::wstring& returnValue) override;
    void Play() override;
    void StopPlay() override;
    void Rewind() override;
    void Forward() override;
    void Back() override;
    bool GetLoop() override;
    bool GetIsPlaying() override;
    int GetCurrentFrame() override;
    int GetTotalFrames() override;
    void SetLoop(bool Value) override;
    void SetCurrentFrame(int Value) override;

    // The control reads its display name again after a rename.
    void SetName(const std::wstring& NewName) override;

    // The control's dual interface; null for an inert driver.
    IznFlashPlayer* ControlInterface() const;

    // A handler of one of the control's events, given the event's parameters as the control
    // passed them (last argument first).
    using TEventMethod = void (TznFlashDriverActiveX::*)(const DISPPARAMS& Params);
    // Runs the handler of DispID, if it has one. An exception it raises goes to the
    // application's exception handler; the control never sees it.
    virtual void InvokeEvent(DISPID DispID, const DISPPARAMS& Params);
    // The handler of DispID: the slot of its event in the control's event list; null for an
    // event without a handler or an unknown DispID.
    TEventMethod GetEventMethod(DISPID DispID) const;

    // The enumerated properties of the control, read from its type information by the first
    // driver that asks; they live until the last driver goes.
    const std::vector<TEnumPropDesc>& CreateEnumPropDescs();
    static void DestroyEnumPropDescs();

protected:
    // Property access by DISPID through the control's automation interface. A get or put that
    // fails raises EOleException with the control's description; with an inert driver a put
    // does nothing and a get raises.
    VARIANT GetProperty(DISPID DispID);
    void SetProperty(DISPID DispID, const VARIANT& Value);
    // Typed forms: each packs or reads one variant type without conversion, except the strings.
    int GetIntegerProp(DISPID DispID);
    void SetIntegerProp(DISPID DispID, int Value);
    std::uint16_t GetWordProp(DISPID DispID);
    void SetWordProp(DISPID DispID, std::uint16_t Value);
    float GetSingleProp(DISPID DispID);
    void SetSingleProp(DISPID DispID, float Value);
    bool GetOleBoolProp(DISPID DispID);
    void SetOleBoolProp(DISPID DispID, bool Value);
    // Any value converted to text; an empty string is put as a null BSTR.
    std::wstring GetStringProp(DISPID DispID);
    void SetStringProp(DISPID DispID, const std::wstring& Value);
    TComPtr<IDispatch> GetIDispatchProp(DISPID DispID);
    void SetIDispatchProp(DISPID DispID, IDispatch* Value);
    TComPtr<IUnknown> GetIUnknownProp(DISPID DispID);
    void SetIUnknownProp(DISPID DispID, IUnknown* Value);

    // The property-browsing helpers: the control's own display strings and predefined values
    // when it browses the property, the property's text otherwise.
    std::wstring GetPropDisplayString(DISPID DispID);
    // The predefined strings with their cookies; empty when the control has none.
    std::vector<std::pair<std::wstring, DWORD>> GetPropDisplayStrings(DISPID DispID);
    void SetPropDisplayString(DISPID DispID, const std::wstring& Value);

    void IntfFSCommand(const DISPPARAMS& Params);
    void IntfFlashPlayerFlashCall(const DISPPARAMS& Params);

private:
    friend class activex::TControlHost;
    friend class activex::TInPlaceSite;
    friend class activex::TBindHost;
    friend class activex::TUrlMoniker;

    // Draws the control into the buffer at Rect (clamped to the buffer on every side) in the
    // buffer's mode, outlines it with ShowUpdateRects, and raises OnPaint, also when the control
    // gave no view object to draw with.
    void Repaint(const TRect& Rect);
    void DrawControl(HDC DC, const TRect& ARect);
    // Sends a window message to the control; false when it is not in place or did not handle it.
    bool SendMessageToControl(UINT Message, WPARAM WParam, LPARAM LParam);
    void SendMouseMessage(UINT Message, WPARAM WParam, int X, int Y);
    void TellObjectRects();
    // Has the control load the movie at Url, in layer 0.
    void LoadControlMovie(const std::wstring& Url);
    // The built-in playback movie with the skin, the volume and the video it plays.
    void LoadVideo(const std::wstring& ContentPath, bool ContentPathFirst);
    // The major version of the control, from the upper 16 bits of FlashVersion.
    int MajorVersion();

    PControlData FControlData = nullptr;
    // The control and the site objects it calls, kept apart from the driver: the control may
    // free the driver from inside a call into the site, and is released after that call.
    std::shared_ptr<activex::TControlHost> FHost;
    bool FFlashNotExists = false;
    // Set while a right-button press is forwarded: the site then names the parent window once.
    bool FNeedHandle = false;
    // The handlers of the control's events, in the order of its event list: ready state,
    // progress, FSCommand, FlashCall. The first two have none.
    TEventMethod FOnReadyStateChange = nullptr;
    TEventMethod FOnProgress = nullptr;
    TEventMethod FOnFSCommandEvent = &TznFlashDriverActiveX::IntfFSCommand;
    TEventMethod FOnFlashCallEvent = &TznFlashDriverActiveX::IntfFlashPlayerFlashCall;
    // What the control's binds are served from: the name of the next bind and the copies of
    // application streams.
    std::unique_ptr<activex::TMovieSources> FSources;
};

} // namespace zn
