// The browser as the plug-in sees it: the function table handed to NP_Initialize, kept as a
// copy, and one checked call per entry the plug-in uses. An entry the browser left null, or one
// beyond the size it declared, answers as a refusal instead of being called.
#pragma once

#include "npapi.h"

#include <string>
#include <string_view>

namespace zn::np {

class Browser {
public:
    // Refuses a missing table, one smaller than the entries this plug-in calls, and a version
    // without scripting or of another major version; otherwise keeps a copy.
    NPError Initialize(const NPNetscapeFuncs* table);
    void Shutdown();
    bool Ready() const { return ready_; }

    NPError GetUrlNotify(NPP instance, const std::string& url, void* notifyData) const;
    void InvalidateRect(NPP instance, NPRect rect) const;
    NPError SetValue(NPP instance, NPPVariable variable, void* value) const;
    bool SupportsWindowless(NPP instance) const;
    // The window object with a reference the caller releases, or null.
    NPObject* WindowObject(NPP instance) const;

    bool Invoke(NPP instance, NPObject* object, const char* method, const NPVariant* args,
                std::uint32_t count, NPVariant* result) const;
    bool Evaluate(NPP instance, NPObject* object, std::string_view script, NPVariant* result) const;
    void ReleaseVariant(NPVariant& value) const;

    // Calls the enumerate entry of a table of minor version 18 or later on the object and frees
    // what it answers; false when that entry is null.
    bool Enumerate(NPP instance, NPObject* object) const;

    NPObject* CreateObject(NPP instance, NPClass* objectClass) const;
    NPObject* RetainObject(NPObject* object) const;
    void ReleaseObject(NPObject* object) const;

    // The identifier's name; empty for a null identifier or one that does not name a string.
    std::string IdentifierName(NPIdentifier identifier) const;

    // A copy of the text in the browser's memory, as a string result must be; false when the
    // browser cannot allocate it.
    bool SetStringResult(NPVariant& result, std::string_view text) const;

private:
    NPNetscapeFuncs table_{};
    // The browser's own table: a player that trusts the minor version reads the entries that
    // version promises there, beyond the size the browser declared.
    const NPNetscapeFuncs* original_ = nullptr;
    bool ready_ = false;
};

Browser& TheBrowser();

} // namespace zn::np
