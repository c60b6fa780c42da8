// The browser function table and its service entries: memory, identifiers, object reference
// counts, values, URL requests and invalidation. The scripting entries are in
// browser_scripting.cpp.
#include "browser_table.h"

#include "identifiers.h"
#include "zintara/framework/text.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace zn::netscape {
namespace {

constexpr char UserAgent[] =
    "Mozilla/5.0 (Windows; U; Windows NT 5.1; en-US; rv:1.8.0.3) Gecko/20060426 Zintara/4";

NPError NPN_Accepted(PNPP, const char*, const char*)
{
    return NPERR_NO_ERROR;
}
NPError NPN_PostURL(PNPP, const char*, const char*, std::uint32_t, const char*, NPBool)
{
    return NPERR_NO_ERROR;
}
NPError NPN_RequestRead(PNPStream, void*)
{
    return NPERR_NO_ERROR;
}
NPError NPN_NewStream(PNPP, char*, const char*, PNPStream*)
{
    return NPERR_NO_ERROR;
}
std::int32_t NPN_Write(PNPP, PNPStream, std::int32_t, void*)
{
    return 0;
}
NPError NPN_DestroyStream(PNPP, PNPStream, NPReason)
{
    return NPERR_NO_ERROR;
}
void NPN_Status(PNPP, const char*) {}
const char* NPN_UserAgent(PNPP)
{
    return UserAgent;
}

void* NPN_MemAlloc(std::uint32_t size)
{
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

void NPN_MemFree(void* ptr)
{
    if (ptr)
        HeapFree(GetProcessHeap(), 0, ptr);
}

std::uint32_t NPN_MemFlush(std::uint32_t)
{
    return 0;
}
void NPN_ReloadPlugins(NPBool) {}
void* NPN_GetJavaEnv()
{
    return nullptr;
}
void* NPN_GetJavaPeer(PNPP)
{
    return nullptr;
}

NPError NPN_GetURLNotify(PNPP instance, const char* url, const char* target, void* notifyData)
{
    if (!url)
        return NPERR_INVALID_URL;
    // The request is accepted even when an exception ends its delivery: by then the plug-in may
    // have been notified, and an error answer would make it end the request a second time.
    return ExceptionBoundary<NPError>(NPERR_NO_ERROR, [&] {
        const std::wstring request = AnsiToWide(url);
        if (request.find(L"java") != std::wstring::npos)
            return NPERR_INVALID_URL;
        if (!target)
            if (TznFlashDriverNS* driver = DriverOf(instance))
                driver->CreateStream(request, notifyData);
        return NPERR_NO_ERROR;
    });
}

NPError NPN_PostURLNotify(PNPP, const char*, const char*, std::uint32_t, const char*, NPBool, void*)
{
    return NPERR_NO_ERROR;
}

NPError NPN_GetValue(PNPP, std::int32_t variable, void* value)
{
    if (!value)
        return NPERR_INVALID_PARAM;
    switch (variable) {
    case NPNVnetscapeWindow: *static_cast<void**>(value) = nullptr; break;
    case NPNVjavascriptEnabledBool: *static_cast<NPBool*>(value) = 1; break;
    case NPNVWindowNPObject:
        *static_cast<PNPObject*>(value) = PrepareHostObject(THostObject::Window);
        break;
    case NPNVSupportsWindowless: *static_cast<NPBool*>(value) = 1; break;
    default: break;
    }
    return NPERR_NO_ERROR;
}

NPError NPN_SetValue(PNPP, std::int32_t, void*)
{
    return NPERR_NO_ERROR;
}

void NPN_InvalidateRect(PNPP instance, TNPRect* invalidRect)
{
    if (!invalidRect)
        return;
    ExceptionBoundary(0, [&] {
        if (TznFlashDriverNS* driver = DriverOf(instance))
            driver->InvalidateRect(*invalidRect);
        return 0;
    });
}

void NPN_InvalidateRegion(PNPP, void*) {}
void NPN_ForceRedraw(PNPP) {}

PNPIdentifier NPN_GetStringIdentifier(const char* name)
{
    if (!name)
        return nullptr;
    return ExceptionBoundary<PNPIdentifier>(
        nullptr, [&] { return const_cast<char*>(InternIdentifier(name)); });
}

void NPN_GetStringIdentifiers(const char** names, std::int32_t nameCount,
                              PNPIdentifier* identifiers)
{
    if (!identifiers || nameCount <= 0)
        return;
    for (std::int32_t i = 0; i < nameCount; ++i)
        identifiers[i] = names ? NPN_GetStringIdentifier(names[i]) : nullptr;
}

PNPIdentifier NPN_GetIntIdentifier(std::int32_t)
{
    return nullptr;
}
bool NPN_IdentifierIsString(PNPIdentifier)
{
    return true;
}

char* NPN_UTF8FromIdentifier(PNPIdentifier identifier)
{
    if (!IsInternedIdentifier(identifier))
        return nullptr;
    const char* name = static_cast<const char*>(identifier);
    const std::size_t size = std::strlen(name) + 1;
    auto* copy = static_cast<char*>(NPN_MemAlloc(static_cast<std::uint32_t>(size)));
    if (copy)
        std::memcpy(copy, name, size);
    return copy;
}

std::int32_t NPN_IntFromIdentifier(PNPIdentifier)
{
    return 0;
}

PNPObject NPN_CreateObject(PNPP npp, PNPClass aClass)
{
    if (!aClass || !aClass->allocate)
        return nullptr;
    PNPObject object = aClass->allocate(npp, aClass);
    if (object) {
        object->_class = aClass;
        object->referenceCount = 1;
    }
    return object;
}

PNPObject NPN_RetainObject(PNPObject obj)
{
    if (obj)
        ++obj->referenceCount;
    return obj;
}

// The host's own objects are never freed, whatever their count: the host recognises them by
// their class rather than by a field that the plug-in's objects do not have.
void NPN_ReleaseObject(PNPObject obj)
{
    if (!obj || obj->referenceCount == 0)
        return;
    if (--obj->referenceCount != 0 || IsHostObject(obj) || !obj->_class)
        return;
    if (obj->_class->deallocate)
        obj->_class->deallocate(obj);
    else if (obj->_class->invalidate)
        obj->_class->invalidate(obj);
}

bool NPN_InvokeDefault(PNPP, PNPObject, const TNPVariant*, std::uint32_t, PNPVariant)
{
    return false;
}
bool NPN_SetProperty(PNPP, PNPObject, PNPIdentifier, const TNPVariant*)
{
    return false;
}
bool NPN_RemoveProperty(PNPP, PNPObject, PNPIdentifier)
{
    return false;
}
bool NPN_HasProperty(PNPP, PNPObject, PNPIdentifier)
{
    return false;
}
bool NPN_HasMethod(PNPP, PNPObject, PNPIdentifier)
{
    return false;
}
// Every value the host hands out points into storage the host keeps.
void NPN_ReleaseVariantValue(PNPVariant) {}
void NPN_SetException(PNPObject, const char*) {}
void NPN_PushPopupsEnabledState(PNPP, NPBool) {}
void NPN_PopPopupsEnabledState(PNPP) {}

} // namespace

void FillBrowserFuncs(TNPNetscapeFuncs& Funcs)
{
    Funcs.size = BrowserFuncsSize;
    Funcs.version = BrowserFuncsVersion;
    Funcs.geturl = &NPN_Accepted;
    Funcs.posturl = &NPN_PostURL;
    Funcs.requestread = &NPN_RequestRead;
    Funcs.newstream = &NPN_NewStream;
    Funcs.write = &NPN_Write;
    Funcs.destroystream = &NPN_DestroyStream;
    Funcs.status = &NPN_Status;
    Funcs.uagent = &NPN_UserAgent;
    Funcs.memalloc = &NPN_MemAlloc;
    Funcs.memfree = &NPN_MemFree;
    Funcs.memflush = &NPN_MemFlush;
    Funcs.reloadplugins = &NPN_ReloadPlugins;
    Funcs.getJavaEnv = &NPN_GetJavaEnv;
    Funcs.getJavaPeer = &NPN_GetJavaPeer;
    Funcs.geturlnotify = &NPN_GetURLNotify;
    Funcs.posturlnotify = &NPN_PostURLNotify;
    Funcs.getvalue = &NPN_GetValue;
    Funcs.setvalue = &NPN_SetValue;
    Funcs.invalidaterect = &NPN_InvalidateRect;
    Funcs.invalidateregion = &NPN_InvalidateRegion;
    Funcs.forceredraw = &NPN_ForceRedraw;
    Funcs.getstringidentifier = &NPN_GetStringIdentifier;
    Funcs.getstringidentifiers = &NPN_GetStringIdentifiers;
    Funcs.getintidentifier = &NPN_GetIntIdentifier;
    Funcs.identifierisstring = &NPN_IdentifierIsString;
    Funcs.utf8fromidentifier = &NPN_UTF8FromIdentifier;
    Funcs.intfromidentifier = &NPN_IntFromIdentifier;
    Funcs.createobject = &NPN_CreateObject;
    Funcs.retainobject = &NPN_RetainObject;
    Funcs.releaseobject = &NPN_ReleaseObject;
    Funcs.invoke = &NPN_Invoke;
    Funcs.invokeDefault = &NPN_InvokeDefault;
    Funcs.evaluate = &NPN_Evaluate;
    Funcs.getproperty = &NPN_GetProperty;
    Funcs.setproperty = &NPN_SetProperty;
    Funcs.removeproperty = &NPN_RemoveProperty;
    Funcs.hasproperty = &NPN_HasProperty;
    Funcs.hasmethod = &NPN_HasMethod;
    Funcs.releasevariantvalue = &NPN_ReleaseVariantValue;
    Funcs.setexception = &NPN_SetException;
    Funcs.pushpopupsenabledstate = &NPN_PushPopupsEnabledState;
    Funcs.poppopupsenabledstate = &NPN_PopPopupsEnabledState;
}

bool NPN_Enumerate(PNPP, PNPObject, PNPIdentifier** identifiers, std::uint32_t* count)
{
    if (identifiers)
        *identifiers = nullptr;
    if (count)
        *count = 0;
    return false;
}

void ReleasePluginResult(TNPVariant& Value)
{
    if (Value.type == NPVariantType_String)
        NPN_MemFree(const_cast<char*>(Value.value.stringValue.utf8characters));
    else if (Value.type == NPVariantType_Object)
        NPN_ReleaseObject(Value.value.objectValue);
    Value = {};
}

} // namespace zn::netscape
