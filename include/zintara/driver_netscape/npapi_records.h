// The NPAPI records of the browser side: the types, constants and function tables the host and
// the plug-in exchange. Plain C++, no Windows header.
//
// The records keep their published names with a T or P prefix and their published layouts on
// 32-bit Windows (checked below). Two differ on purpose: TNPObject carries a third field,
// plugin, that the plug-in's own objects do not have, so the host never reads it from them; and
// TNPClass ends with enumeration, the class layout of struct version 2.
#pragma once

#include <cstddef>
#include <cstdint>

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
static_assert(sizeof(void*) != 4 ||
              (sizeof(TNPWindow) == 32 && offsetof(TNPWindow, clipRect) == 20));
static_assert(sizeof(void*) != 4 || (sizeof(TNPEvent) == 12 && offsetof(TNPEvent, wParam) == 4));
static_assert(sizeof(void*) != 4 || sizeof(TNPString) == 8);
static_assert(sizeof(void*) != 4 || (sizeof(TNPVariant) == 16 && offsetof(TNPVariant, value) == 8));
static_assert(sizeof(void*) != 4 || sizeof(TNPObject) == 12);
static_assert(sizeof(void*) != 4 || sizeof(TNPClass) == 48);
static_assert(sizeof(void*) != 4 || sizeof(TNPPluginFuncs) == 60);
static_assert(sizeof(void*) != 4 || sizeof(TNPNetscapeFuncs) == BrowserFuncsSize);

} // namespace zn
