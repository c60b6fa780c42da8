// The browser side of NPAPI: the function table the plug-in calls, and how an entry finds the
// driver an instance belongs to. Every entry checks what the plug-in hands over (instance,
// pointers, counts) and answers with an NPAPI code or a safe value; none lets an exception
// reach the plug-in: each body runs inside ExceptionBoundary, which hands it to the
// application's exception handler.
#pragma once

#include "zintara/framework/com.h"
#include "zintara/zn_driver_netscape.h"

namespace zn::netscape {

// Sets the size, the version and every entry; the caller zeroes the table first.
void FillBrowserFuncs(TNPNetscapeFuncs& Funcs);
// The enumerate entry that version 18 adds after the table: no object of this host lists its
// properties, so it answers false with no identifiers.
bool NPN_Enumerate(PNPP npp, PNPObject obj, PNPIdentifier** identifiers, std::uint32_t* count);

// The driver of Instance, only while Instance is the running instance of a driver.
TznFlashDriverNS* DriverOf(PNPP Instance);

// The host's script objects (window, window.location, top, top.location), handed out with a
// reference count of 1 each time.
enum class THostObject { Window, WindowLocation, Top, TopLocation };
PNPObject PrepareHostObject(THostObject Which);
bool IsHostObject(PNPObject Object);

// The entries of the scripting bridge (browser_scripting.cpp).
bool NPN_Invoke(PNPP npp, PNPObject obj, PNPIdentifier methodName, const TNPVariant* args,
                std::uint32_t argCount, PNPVariant result);
bool NPN_Evaluate(PNPP npp, PNPObject obj, TNPString* script, PNPVariant result);
bool NPN_GetProperty(PNPP npp, PNPObject obj, PNPIdentifier propertyName, PNPVariant result);

// Frees a value the plug-in returned from a call into its object: strings it allocated with
// NPN_MemAlloc, references to objects.
void ReleasePluginResult(TNPVariant& Value);

} // namespace zn::netscape
