// The Netscape plug-in driver: the NPAPI records of the browser side, and TznFlashDriverNS, the
// driver that hosts the Flash Player's Netscape plug-in windowless in the driver's buffer.
//
// The records keep their published names with a T or P prefix and their published layouts on
// 32-bit Windows (checked below). Two differ on purpose: TNPObject carries a third field,
// plugin, that the plug-in's own objects do not have, so the host never reads it from them; and
// TNPClass ends with enumeration, the class layout of struct version 2.
#pragma once

#include "zintara/core/flash_driver.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zn {

using NPError = std::int16_t;
using NPReason = std::int16_t;
using NPBool = unsigned char;
using PNPIdentifier = void*;

inline constexpr NPError NPERR_NO_ERROR = 0;
inline constexpr NPError NPERR_GENERIC_ERROR = 1;
inline constexpr NPError NPERR_INVALID_INSTANCE_ERROR = 2;
inline constexpr NPError NPERR_INVALID_PARAM = 9;
inline constexpr NPError NPERR_INVALID_URL = 10;
inline constexpr NPReason NPRES_DONE = 0;
inline constexpr std::uint16_t NP_EMBED = 1;
inline constexpr std::uint16_t NP_NORMAL = 1;

inline constexpr std::int32_t NPNVnetscapeWindow = 3;
inline constexpr std::int32_t NPNVjavascriptEnabledBool = 4;
inline constexpr std::int32_t NPNVWindowNPObject = 15;
inline constexpr std::int32_t NPNVSupportsWindowless = 17;
inline constexpr std::int32_t NPPVpluginWindowBool = 3;
inline constexpr std::int32_t NPPVpluginTransparentBool = 4;
inline constexpr std::int32_t NPPVpluginScriptableNPObject = 15;

inline constexpr std::uint32_t NPWindowTypeDrawable = 2;

struct TNPP {
    void* pdata; // the plug-in's
    void* ndata; // the browser's: the driver
};
using PNPP = TNPP*;

struct TNPSavedData {
    std::int32_t len;
    void* buf;
};

struct TNPStream {
    void* pdata;
    void* ndata;
    const char* url;
    std::uint32_t end;
    std::uint32_t lastmodified;
    void* notifyData;
    const char* headers;
};
using PNPStream = TNPStream*;

struct TNPRect {
    std::uint16_t top;
    std::uint16_t left;
    std::uint16_t bottom;
    std::uint16_t right;
};

struct TNPWindow {
    void* window; // a device context for a drawable window
    std::int32_t x;
    std::int32_t y;
    std::uint32_t width;
    std::uint32_t height;
    TNPRect clipRect;
    std::uint32_t type;
};
using PNPWindow = TNPWindow*;

struct TNPEvent {
    std::uint16_t event;
    std::uintptr_t wParam;
    std::uintptr_t lParam;
};

struct TNPString {
    const char* utf8characters;
    std::uint32_t utf8length;
};

enum TNPVariantType : std::uint32_t {
    NPVariantType_Void = 0,
    NPVariantType_Null = 1,
    NPVariantType_Bool = 2,
    NPVariantType_Int32 = 3,
    NPVariantType_Double = 4,
    NPVariantType_String = 5,
    NPVariantType_Object = 6,
};

struct TNPObject;
using PNPObject = TNPObject*;

union alignas(8) TValueUnion {
    bool boolValue;
    std::int32_t intValue;
    double doubleValue;
    TNPString stringValue;
    PNPObject objectValue;
};

struct TNPVariant {
    TNPVariantType type;
    TValueUnion value;
};
using PNPVariant = TNPVariant*;
using TNPVariantArray = TNPVariant*;

struct TNPClass;
using PNPClass = TNPClass*;

struct TNPObject {
    PNPClass _class;
    std::uint32_t referenceCount;
    void* plugin; // the host's own field; its objects leave it null
};

using TNPAllocateFunction = PNPObject (*)(PNPP npp, PNPClass aClass);
using TNPDeallocateFunction = void (*)(PNPObject npobj);
using TNPInvalidateFunction = void (*)(PNPObject npobj);
using TNPHasMethodFunction = bool (*)(PNPObject npobj, PNPIdentifier name);
using TNPInvokeFunction = bool (*)(PNPObject npobj, PNPIdentifier name, const TNPVariant* args,
                                   std::uint32_t argCount, PNPVariant result);
using TNPInvokeDefaultFunction = bool (*)(PNPObject npobj, const TNPVariant* args,
                                          std::uint32_t argCount, PNPVariant result);
using TNPHasPropertyFunction = bool (*)(PNPObject npobj, PNPIdentifier name);
using TNPGetPropertyFunction = bool (*)(PNPObject npobj, PNPIdentifier name, PNPVariant result);
using TNPSetPropertyFunction = bool (*)(PNPObject npobj, PNPIdentifier name,
                                        const TNPVariant* value);
using TNPRemovePropertyFunction = bool (*)(PNPObject npobj, PNPIdentifier name);
using TNPEnumerationFunction = bool (*)(PNPObject npobj, PNPIdentifier** value,
                                        std::uint32_t* count);

struct TNPClass {
    std::uint32_t structVersion;
    TNPAllocateFunction allocate;
    TNPDeallocateFunction deallocate;
    TNPInvalidateFunction invalidate;
    TNPHasMethodFunction hasMethod;
    TNPInvokeFunction invoke;
    TNPInvokeDefaultFunction invokeDefault;
    TNPHasPropertyFunction hasProperty;
    TNPGetPropertyFunction getProperty;
    TNPSetPropertyFunction setProperty;
    TNPRemovePropertyFunction removeProperty;
    TNPEnumerationFunction enumeration;
};

// The plug-in's entries.
using TNPP_New = NPError (*)(char* pluginType, PNPP instance, std::uint16_t mode, std::int16_t argc,
                             char* argn[], char* argv[], TNPSavedData* saved);
using TNPP_Destroy = NPError (*)(PNPP instance, TNPSavedData** save);
using TNPP_SetWindow = NPError (*)(PNPP instance, PNPWindow window);
using TNPP_NewStream = NPError (*)(PNPP instance, char* type, PNPStream stream, NPBool seekable,
                                   std::uint16_t* stype);
using TNPP_DestroyStream = NPError (*)(PNPP instance, PNPStream stream, NPReason reason);
using TNPP_StreamAsFile = void (*)(PNPP instance, PNPStream stream, const char* fname);
using TNPP_WriteReady = std::int32_t (*)(PNPP instance, PNPStream stream);
using TNPP_Write = std::int32_t (*)(PNPP instance, PNPStream stream, std::int32_t offset,
                                    std::int32_t len, void* buffer);
using TNPP_Print = void (*)(PNPP instance, void* platformPrint);
using TNPP_HandleEvent = std::int16_t (*)(PNPP instance, void* event);
using TNPP_URLNotify = void (*)(PNPP instance, const char* url, NPReason reason, void* notifyData);
using TNPP_GetValue = NPError (*)(PNPP instance, std::int32_t variable, void* value);
using TNPP_SetValue = NPError (*)(PNPP instance, std::int32_t variable, void* value);

struct TNPPluginFuncs {
    std::uint16_t size;
    std::uint16_t version;
    TNPP_New newp;
    TNPP_Destroy destroy;
    TNPP_SetWindow setwindow;
    TNPP_NewStream newstream;
    TNPP_DestroyStream destroystream;
    TNPP_StreamAsFile asfile;
    TNPP_WriteReady writeready;
    TNPP_Write write;
    TNPP_Print print;
    TNPP_HandleEvent event;
    TNPP_URLNotify urlnotify;
    void* javaClass;
    TNPP_GetValue getvalue;
    TNPP_SetValue setvalue;
};

// The browser's entries.
using TNPN_Version = void (*)(int* plugin_major, int* plugin_minor, int* netscape_major,
                              int* netscape_minor);
using TNPN_GetURL = NPError (*)(PNPP instance, const char* url, const char* target);
using TNPN_PostURL = NPError (*)(PNPP instance, const char* url, const char* target,
                                 std::uint32_t len, const char* buf, NPBool file);
using TNPN_RequestRead = NPError (*)(PNPStream stream, void* rangeList);
using TNPN_NewStream = NPError (*)(PNPP instance, char* type, const char* target,
                                   PNPStream* stream);
using TNPN_Write = std::int32_t (*)(PNPP instance, PNPStream stream, std::int32_t len,
                                    void* buffer);
using TNPN_DestroyStream = NPError (*)(PNPP instance, PNPStream stream, NPReason reason);
using TNPN_Status = void (*)(PNPP instance, const char* message);
using TNPN_UserAgent = const char* (*)(PNPP instance);
using TNPN_MemAlloc = void* (*)(std::uint32_t size);
using TNPN_MemFree = void (*)(void* ptr);
using TNPN_MemFlush = std::uint32_t (*)(std::uint32_t size);
using TNPN_ReloadPlugins = void (*)(NPBool reloadPages);
using TNPN_GetJavaEnv = void* (*)();
using TNPN_GetJavaPeer = void* (*)(PNPP instance);
using TNPN_GetURLNotify = NPError (*)(PNPP instance, const char* url, const char* target,
                                      void* notifyData);
using TNPN_PostURLNotify = NPError (*)(PNPP instance, const char* url, const char* target,
                                       std::uint32_t len, const char* buf, NPBool file,
                                       void* notifyData);
using TNPN_GetValue = NPError (*)(PNPP instance, std::int32_t variable, void* value);
using TNPN_SetValue = NPError (*)(PNPP instance, std::int32_t variable, void* value);
using TNPN_InvalidateRect = void (*)(PNPP instance, TNPRect* invalidRect);
using TNPN_InvalidateRegion = void (*)(PNPP instance, void* invalidRegion);
using TNPN_ForceRedraw = void (*)(PNPP instance);
using TNPN_GetStringIdentifier = PNPIdentifier (*)(const char* name);
using TNPN_GetStringIdentifiers = void (*)(const char** names, std::int32_t nameCount,
                                           PNPIdentifier* identifiers);
using TNPN_GetIntIdentifier = PNPIdentifier (*)(std::int32_t intid);
using TNPN_IdentifierIsString = bool (*)(PNPIdentifier identifier);
using TNPN_UTF8FromIdentifier = char* (*)(PNPIdentifier identifier);
using TNPN_IntFromIdentifier = std::int32_t (*)(PNPIdentifier identifier);
using TNPN_CreateObject = PNPObject (*)(PNPP npp, PNPClass aClass);
using TNPN_RetainObject = PNPObject (*)(PNPObject obj);
using TNPN_ReleaseObject = void (*)(PNPObject obj);
using TNPN_Invoke = bool (*)(PNPP npp, PNPObject obj, PNPIdentifier methodName,
                             const TNPVariant* args, std::uint32_t argCount, PNPVariant result);
using TNPN_InvokeDefault = bool (*)(PNPP npp, PNPObject obj, const TNPVariant* args,
                                    std::uint32_t argCount, PNPVariant result);
using TNPN_Evaluate = bool (*)(PNPP npp, PNPObject obj, TNPString* script, PNPVariant result);
using TNPN_GetProperty = bool (*)(PNPP npp, PNPObject obj, PNPIdentifier propertyName,
                                  PNPVariant result);
using TNPN_SetProperty = bool (*)(PNPP npp, PNPObject obj, PNPIdentifier propertyName,
                                  const TNPVariant* value);
using TNPN_RemoveProperty = bool (*)(PNPP npp, PNPObject obj, PNPIdentifier propertyName);
using TNPN_HasProperty = bool (*)(PNPP npp, PNPObject obj, PNPIdentifier propertyName);
using TNPN_HasMethod = bool (*)(PNPP npp, PNPObject obj, PNPIdentifier methodName);
using TNPN_ReleaseVariantValue = void (*)(PNPVariant variant);
using TNPN_SetException = void (*)(PNPObject obj, const char* message);
using TNPN_PushPopupsEnabledState = void (*)(PNPP npp, NPBool enabled);
using TNPN_PopPopupsEnabledState = void (*)(PNPP npp);

// The table as far as minor version 18 without enumerate: 172 bytes. The host keeps it inside
// zeroed storage that is larger, so a plug-in that reads an entry of a later version finds null.
struct TNPNetscapeFuncs {
    std::uint16_t size;
    std::uint16_t version;
    TNPN_GetURL geturl;
    TNPN_PostURL posturl;
    TNPN_RequestRead requestread;
    TNPN_NewStream newstream;
    TNPN_Write write;
    TNPN_DestroyStream destroystream;
    TNPN_Status status;
    TNPN_UserAgent uagent;
    TNPN_MemAlloc memalloc;
    TNPN_MemFree memfree;
    TNPN_MemFlush memflush;
    TNPN_ReloadPlugins reloadplugins;
    TNPN_GetJavaEnv getJavaEnv;
    TNPN_GetJavaPeer getJavaPeer;
    TNPN_GetURLNotify geturlnotify;
    TNPN_PostURLNotify posturlnotify;
    TNPN_GetValue getvalue;
    TNPN_SetValue setvalue;
    TNPN_InvalidateRect invalidaterect;
    TNPN_InvalidateRegion invalidateregion;
    TNPN_ForceRedraw forceredraw;
    TNPN_GetStringIdentifier getstringidentifier;
    TNPN_GetStringIdentifiers getstringidentifiers;
    TNPN_GetIntIdentifier getintidentifier;
    TNPN_IdentifierIsString identifierisstring;
    TNPN_UTF8FromIdentifier utf8fromidentifier;
    TNPN_IntFromIdentifier intfromidentifier;
    TNPN_CreateObject createobject;
    TNPN_RetainObject retainobject;
    TNPN_ReleaseObject releaseobject;
    TNPN_Invoke invoke;
    TNPN_InvokeDefault invokeDefault;
    TNPN_Evaluate evaluate;
    TNPN_GetProperty getproperty;
    TNPN_SetProperty setproperty;
    TNPN_RemoveProperty removeproperty;
    TNPN_HasProperty hasproperty;
    TNPN_HasMethod hasmethod;
    TNPN_ReleaseVariantValue releasevariantvalue;
    TNPN_SetException setexception;
    TNPN_PushPopupsEnabledState pushpopupsenabledstate;
    TNPN_PopPopupsEnabledState poppopupsenabledstate;
};

inline constexpr std::uint16_t BrowserFuncsSize = 172;
inline constexpr std::uint16_t BrowserFuncsVersion = 18;

// The published sizes hold where pointers are 32 bits wide.
static_assert(sizeof(void*) != 4 || sizeof(TNPP) == 8);
static_assert(sizeof(void*) != 4 || sizeof(TNPStream) == 28);
static_assert(sizeof(TNPRect) == 8);
static_assert(sizeof(void*) != 4 || (sizeof(TNPWindow) == 32 && offsetof(TNPWindow, clipRect) == 20));
static_assert(sizeof(void*) != 4 || (sizeof(TNPEvent) == 12 && offsetof(TNPEvent, wParam) == 4));
static_assert(sizeof(void*) != 4 || sizeof(TNPString) == 8);
static_assert(sizeof(void*) != 4 || (sizeof(TNPVariant) == 16 && offsetof(TNPVariant, value) == 8));
static_assert(sizeof(void*) != 4 || sizeof(TNPObject) == 12);
static_assert(sizeof(void*) != 4 || sizeof(TNPClass) == 48);
static_assert(sizeof(void*) != 4 || sizeof(TNPPluginFuncs) == 60);
static_assert(sizeof(void*) != 4 || sizeof(TNPNetscapeFuncs) == BrowserFuncsSize);

class TMemoryStream;

namespace netscape {
template <class T>
class TPendingCopies;
class TPluginInstance;
}

// The driver that hosts the Netscape plug-in: one windowless plug-in instance per driver, drawing
// into the driver's buffer (a memory device context announced as a drawable window). Every
// operation does nothing, and every query answers empty, false or 0, when the plug-in is not
// installed or gave no scriptable object.
class TznFlashDriverNS : public TznFlashDriver {
public:
    // The base constructor sizes the buffers; the plug-in instance is created after it.
    TznFlashDriverNS(int AWidth, int AHeight, std::uint32_t ABackground);
    // Destroys the plug-in instance before the base class frees the buffers.
    ~TznFlashDriverNS() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // Whether the plug-in was found and gave its entry points. The first call starts the unit:
    // it finds and loads the plug-in (beside the executable, at the path its installer
    // registered, or at the default path) and initialises it.
    static bool PluginExists();

    // Announces the new buffer to the plug-in and repaints it.
    void ResizeBuffer() override;
    void ForceUpdate() override;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseWheel(TShiftState Shift, int X, int Y, int WheelDelta, bool& Handled) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Char, TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;

    // Loads a movie by name or URL into a fresh plug-in instance; the plug-in then requests the
    // name and CreateStream serves it.
    void LoadMovie(const std::wstring& AUrl) override;
    // Loads a copy of AStream's bytes from its position on (the caller may free AStream on
    // return): the plug-in requests the copy by a stream token, once.
    void LoadMovieFromStream(TStream& AStream) override;
    std::wstring GetVariable(const std::wstring& name) override;
    void SetVariable(const std::wstring& name, const std::wstring& value) override;
    std::wstring CallFunction(const std::wstring& request) override;
    // The answer to the call the movie is making (OnFlashCall).
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

    // Creates a fresh instance; false when the driver was freed or the instance replaced from
    // inside NPP_New.
    bool CreatePlugin();
    void DestroyPlugin();

    // Serves a URL the plug-in requested: a file, an embedded file, a stream copy, a resource of
    // the library, or an HTTP download, delivered as one NPAPI stream.
    void CreateStream(const std::wstring& url, void* notifyData);

    // The browser side's entries that act on one driver.
    // Paints Rect at once; its right and bottom edges are clamped to the buffer in place.
    void InvalidateRect(TNPRect& Rect);
    // Raises OnFlashCall for a call from the movie and answers with SetReturnValue's text, which
    // stays valid until the next call from any movie; empty when the handler freed the driver or
    // replaced the calling instance.
    const std::string& AnswerFlashCall(const std::wstring& request);
    // Announces the buffer as the plug-in's window and repaints it.
    void AnnounceWindow();

    // The record of the running plug-in instance; null while there is none.
    PNPP Instance() const;
    PNPObject ScriptableObject() const;
    const TNPWindow& Window() const { return wnd; }

private:
    bool CallMethod(const char* Name, const TNPVariant* Args, std::uint32_t ArgCount,
                    TNPVariant* Result);
    std::wstring CallStringMethod(const char* Name, const TNPVariant* Args,
                                  std::uint32_t ArgCount);
    bool CallBoolMethod(const char* Name);
    int CallIntMethod(const char* Name);
    void CallVoidMethod(const char* Name);
    void LoadPluginMovie(const std::string& Url);
    void SendEvent(std::uint16_t Event, std::uintptr_t WParam, std::uintptr_t LParam);
    void DrawPlayer(HDC DC, const TRect& ARect);
    std::unique_ptr<TStream> OpenLocalSource(const std::string& Name);
    void DeliverLocalSource(TStream& Source, const std::string& Name,
                            const std::vector<std::pair<std::string, std::string>>& Query,
                            void* NotifyData);
    void StartDownload(const std::string& Url, void* NotifyData);

    // The running instance, shared with every call into it on the stack (plugin_instance.h):
    // a reload or the driver's destruction detaches it, and the outermost call destroys it.
    std::shared_ptr<netscape::TPluginInstance> FPlugin;
    std::wstring FReturnValue;
    TNPWindow wnd{};
    std::unique_ptr<netscape::TPendingCopies<TMemoryStream>> FPendingCopies;
};

} // namespace zn
