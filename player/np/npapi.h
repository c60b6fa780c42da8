// The Netscape plug-in interface as the reference plug-in sees it: records, constants and both
// function tables, with the published 32-bit Windows layouts checked at compile time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zn::np {

using NPError = std::int16_t;
using NPBool = unsigned char;
using NPReason = std::int16_t;
using NPMIMEType = char*;
using NPIdentifier = void*;

constexpr NPError NPERR_NO_ERROR = 0;
constexpr NPError NPERR_GENERIC_ERROR = 1;
constexpr NPError NPERR_INVALID_INSTANCE_ERROR = 2;
constexpr NPError NPERR_INVALID_FUNCTABLE_ERROR = 3;
constexpr NPError NPERR_OUT_OF_MEMORY_ERROR = 5;
constexpr NPError NPERR_INVALID_PLUGIN_ERROR = 6;
constexpr NPError NPERR_INCOMPATIBLE_VERSION_ERROR = 8;
constexpr NPError NPERR_INVALID_PARAM = 9;
constexpr NPError NPERR_INVALID_URL = 10;

constexpr NPReason NPRES_DONE = 0;
constexpr NPReason NPRES_NETWORK_ERR = 1;
constexpr NPReason NPRES_USER_BREAK = 2;

constexpr std::uint16_t NP_EMBED = 1;
constexpr std::uint16_t NP_NORMAL = 1;

// Major version 0; minor 14 is the first with the scripting entries this plug-in calls.
constexpr std::uint16_t NP_VERSION_MAJOR = 0;
constexpr std::uint16_t NP_VERSION_MINOR_SCRIPTING = 14;
constexpr std::uint16_t NP_VERSION_MINOR = 19;

enum NPNVariable : std::int32_t {
    NPNVnetscapeWindow = 3,
    NPNVjavascriptEnabledBool = 4,
    NPNVWindowNPObject = 15,
    NPNVSupportsWindowless = 17,
};

enum NPPVariable : std::int32_t {
    NPPVpluginNameString = 1,
    NPPVpluginDescriptionString = 2,
    NPPVpluginWindowBool = 3,
    NPPVpluginTransparentBool = 4,
    NPPVpluginScriptableNPObject = 15,
    NPPVpluginNeedsXEmbed = 14,
};

enum NPWindowType : std::int32_t { NPWindowTypeWindow = 1, NPWindowTypeDrawable = 2 };

struct NPP_t {
    void* pdata; // the plug-in's
    void* ndata; // the browser's
};
using NPP = NPP_t*;

struct NPRect {
    std::uint16_t top, left, bottom, right;
};

struct NPWindow {
    void* window; // a device context for a drawable
    std::int32_t x, y;
    std::uint32_t width, height;
    NPRect clipRect;
    NPWindowType type;
};

struct NPEvent {
    std::uint16_t event;
    std::uintptr_t wParam;
    std::uintptr_t lParam;
};

struct NPStream {
    void* pdata;
    void* ndata;
    const char* url;
    std::uint32_t end;
    std::uint32_t lastmodified;
    void* notifyData;
    const char* headers;
};

struct NPSavedData {
    std::int32_t len;
    void* buf;
};

struct NPString {
    const char* UTF8Characters;
    std::uint32_t UTF8Length;
};

enum NPVariantType : std::int32_t {
    NPVariantType_Void,
    NPVariantType_Null,
    NPVariantType_Bool,
    NPVariantType_Int32,
    NPVariantType_Double,
    NPVariantType_String,
    NPVariantType_Object,
};

struct NPObject;

struct NPVariant {
    NPVariantType type;
    union {
        bool boolValue;
        std::int32_t intValue;
        double doubleValue;
        NPString stringValue;
        NPObject* objectValue;
    } value;
};

struct NPClass;

struct NPObject {
    NPClass* _class;
    std::uint32_t referenceCount;
};

extern "C" {
using NPAllocateFunctionPtr = NPObject* (*)(NPP npp, NPClass* aClass);
using NPDeallocateFunctionPtr = void (*)(NPObject* npobj);
using NPInvalidateFunctionPtr = void (*)(NPObject* npobj);
using NPHasMethodFunctionPtr = bool (*)(NPObject* npobj, NPIdentifier name);
using NPInvokeFunctionPtr = bool (*)(NPObject* npobj, NPIdentifier name, const NPVariant* args,
                                     std::uint32_t argCount, NPVariant* result);
using NPInvokeDefaultFunctionPtr = bool (*)(NPObject* npobj, const NPVariant* args,
                                            std::uint32_t argCount, NPVariant* result);
using NPHasPropertyFunctionPtr = bool (*)(NPObject* npobj, NPIdentifier name);
using NPGetPropertyFunctionPtr = bool (*)(NPObject* npobj, NPIdentifier name, NPVariant* result);
using NPSetPropertyFunctionPtr = bool (*)(NPObject* npobj, NPIdentifier name,
                                          const NPVariant* value);
using NPRemovePropertyFunctionPtr = bool (*)(NPObject* npobj, NPIdentifier name);
using NPEnumerationFunctionPtr = bool (*)(NPObject* npobj, NPIdentifier** value,
                                          std::uint32_t* count);
using NPConstructFunctionPtr = bool (*)(NPObject* npobj, const NPVariant* args,
                                        std::uint32_t argCount, NPVariant* result);
}

constexpr std::uint32_t NP_CLASS_STRUCT_VERSION_ENUM = 2;

struct NPClass {
    std::uint32_t structVersion;
    NPAllocateFunctionPtr allocate;
    NPDeallocateFunctionPtr deallocate;
    NPInvalidateFunctionPtr invalidate;
    NPHasMethodFunctionPtr hasMethod;
    NPInvokeFunctionPtr invoke;
    NPInvokeDefaultFunctionPtr invokeDefault;
    NPHasPropertyFunctionPtr hasProperty;
    NPGetPropertyFunctionPtr getProperty;
    NPSetPropertyFunctionPtr setProperty;
    NPRemovePropertyFunctionPtr removeProperty;
    NPEnumerationFunctionPtr enumerate;
    NPConstructFunctionPtr construct;
};

// The plug-in's entries, called by the browser (default C convention on Win32).
extern "C" {
using NPP_NewProcPtr = NPError (*)(NPMIMEType pluginType, NPP instance, std::uint16_t mode,
                                   std::int16_t argc, char* argn[], char* argv[],
                                   NPSavedData* saved);
using NPP_DestroyProcPtr = NPError (*)(NPP instance, NPSavedData** save);
using NPP_SetWindowProcPtr = NPError (*)(NPP instance, NPWindow* window);
using NPP_NewStreamProcPtr = NPError (*)(NPP instance, NPMIMEType type, NPStream* stream,
                                         NPBool seekable, std::uint16_t* stype);
using NPP_DestroyStreamProcPtr = NPError (*)(NPP instance, NPStream* stream, NPReason reason);
using NPP_StreamAsFileProcPtr = void (*)(NPP instance, NPStream* stream, const char* fname);
using NPP_WriteReadyProcPtr = std::int32_t (*)(NPP instance, NPStream* stream);
using NPP_WriteProcPtr = std::int32_t (*)(NPP instance, NPStream* stream, std::int32_t offset,
                                          std::int32_t len, void* buffer);
using NPP_PrintProcPtr = void (*)(NPP instance, void* platformPrint);
using NPP_HandleEventProcPtr = std::int16_t (*)(NPP instance, void* event);
using NPP_URLNotifyProcPtr = void (*)(NPP instance, const char* url, NPReason reason,
                                      void* notifyData);
using NPP_GetValueProcPtr = NPError (*)(NPP instance, NPPVariable variable, void* value);
using NPP_SetValueProcPtr = NPError (*)(NPP instance, NPNVariable variable, void* value);
}

struct NPPluginFuncs {
    std::uint16_t size;
    std::uint16_t version;
    NPP_NewProcPtr newp;
    NPP_DestroyProcPtr destroy;
    NPP_SetWindowProcPtr setwindow;
    NPP_NewStreamProcPtr newstream;
    NPP_DestroyStreamProcPtr destroystream;
    NPP_StreamAsFileProcPtr asfile;
    NPP_WriteReadyProcPtr writeready;
    NPP_WriteProcPtr write;
    NPP_PrintProcPtr print;
    NPP_HandleEventProcPtr event;
    NPP_URLNotifyProcPtr urlnotify;
    void* javaClass;
    NPP_GetValueProcPtr getvalue;
    NPP_SetValueProcPtr setvalue;
};

// The browser's entries, called by the plug-in (default C convention on Win32). Only the ones
// this plug-in calls carry a precise type; the rest keep their slot.
extern "C" {
using NPN_GetURLNotifyProcPtr = NPError (*)(NPP instance, const char* url, const char* target,
                                            void* notifyData);
using NPN_GetValueProcPtr = NPError (*)(NPP instance, NPNVariable variable, void* value);
using NPN_SetValueProcPtr = NPError (*)(NPP instance, NPPVariable variable, void* value);
using NPN_InvalidateRectProcPtr = void (*)(NPP instance, NPRect* rect);
using NPN_MemAllocProcPtr = void* (*)(std::uint32_t size);
using NPN_MemFreeProcPtr = void (*)(void* ptr);
using NPN_GetStringIdentifierProcPtr = NPIdentifier (*)(const char* name);
using NPN_UTF8FromIdentifierProcPtr = char* (*)(NPIdentifier identifier);
using NPN_IdentifierIsStringProcPtr = bool (*)(NPIdentifier identifier);
using NPN_CreateObjectProcPtr = NPObject* (*)(NPP npp, NPClass* aClass);
using NPN_RetainObjectProcPtr = NPObject* (*)(NPObject* obj);
using NPN_ReleaseObjectProcPtr = void (*)(NPObject* obj);
using NPN_InvokeProcPtr = bool (*)(NPP npp, NPObject* obj, NPIdentifier methodName,
                                   const NPVariant* args, std::uint32_t argCount,
                                   NPVariant* result);
using NPN_EvaluateProcPtr = bool (*)(NPP npp, NPObject* obj, NPString* script, NPVariant* result);
using NPN_ReleaseVariantValueProcPtr = void (*)(NPVariant* variant);
using NPN_UnusedProcPtr = void (*)();
}

struct NPNetscapeFuncs {
    std::uint16_t size;
    std::uint16_t version;
    NPN_UnusedProcPtr geturl;
    NPN_UnusedProcPtr posturl;
    NPN_UnusedProcPtr requestread;
    NPN_UnusedProcPtr newstream;
    NPN_UnusedProcPtr write;
    NPN_UnusedProcPtr destroystream;
    NPN_UnusedProcPtr status;
    NPN_UnusedProcPtr uagent;
    NPN_MemAllocProcPtr memalloc;
    NPN_MemFreeProcPtr memfree;
    NPN_UnusedProcPtr memflush;
    NPN_UnusedProcPtr reloadplugins;
    NPN_UnusedProcPtr getJavaEnv;
    NPN_UnusedProcPtr getJavaPeer;
    NPN_GetURLNotifyProcPtr geturlnotify;
    NPN_UnusedProcPtr posturlnotify;
    NPN_GetValueProcPtr getvalue;
    NPN_SetValueProcPtr setvalue;
    NPN_InvalidateRectProcPtr invalidaterect;
    NPN_UnusedProcPtr invalidateregion;
    NPN_UnusedProcPtr forceredraw;
    NPN_GetStringIdentifierProcPtr getstringidentifier;
    NPN_UnusedProcPtr getstringidentifiers;
    NPN_UnusedProcPtr getintidentifier;
    NPN_IdentifierIsStringProcPtr identifierisstring;
    NPN_UTF8FromIdentifierProcPtr utf8fromidentifier;
    NPN_UnusedProcPtr intfromidentifier;
    NPN_CreateObjectProcPtr createobject;
    NPN_RetainObjectProcPtr retainobject;
    NPN_ReleaseObjectProcPtr releaseobject;
    NPN_InvokeProcPtr invoke;
    NPN_UnusedProcPtr invokeDefault;
    NPN_EvaluateProcPtr evaluate;
    NPN_UnusedProcPtr getproperty;
    NPN_UnusedProcPtr setproperty;
    NPN_UnusedProcPtr removeproperty;
    NPN_UnusedProcPtr hasproperty;
    NPN_UnusedProcPtr hasmethod;
    NPN_ReleaseVariantValueProcPtr releasevariantvalue;
    NPN_UnusedProcPtr setexception;
    NPN_UnusedProcPtr pushpopupsenabledstate;
    NPN_UnusedProcPtr poppopupsenabledstate;
    NPN_UnusedProcPtr enumerate;
    NPN_UnusedProcPtr pluginthreadasynccall;
    NPN_UnusedProcPtr construct;
};

// A browser table must reach at least the last entry this plug-in calls.
constexpr std::size_t kRequiredBrowserTableSize = offsetof(NPNetscapeFuncs, setexception);

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(NPP_t) == 8);
static_assert(sizeof(NPRect) == 8);
static_assert(sizeof(NPWindow) == 32);
static_assert(sizeof(NPEvent) == 12);
static_assert(sizeof(NPStream) == 28);
static_assert(sizeof(NPString) == 8);
static_assert(sizeof(NPVariant) == 16);
static_assert(offsetof(NPVariant, value) == 8);
static_assert(sizeof(NPObject) == 8);
static_assert(offsetof(NPClass, enumerate) == 44);
static_assert(sizeof(NPClass) == 52);
static_assert(sizeof(NPPluginFuncs) == 60);
static_assert(kRequiredBrowserTableSize == 160);
static_assert(offsetof(NPNetscapeFuncs, enumerate) == 172);
static_assert(offsetof(NPNetscapeFuncs, pluginthreadasynccall) == 176);
static_assert(sizeof(NPNetscapeFuncs) == 184);
#endif

} // namespace zn::np
