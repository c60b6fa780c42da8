// One plug-in instance as a host holds it: its NPP record, created windowless through NPP_New
// with the attributes a host passes, its scriptable object, and movies handed over as streams.
#pragma once

#include "plugin_library.h"
#include "support/dib_surface.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zn::np::testing {

using zn::test::TDibSurface;

class HostedInstance {
public:
    // NPP_New with "wmode", "bgcolor", "width" and "height", then the scriptable object.
    HostedInstance(int width, int height, bool transparent = true);
    ~HostedInstance();
    HostedInstance(const HostedInstance&) = delete;
    HostedInstance& operator=(const HostedInstance&) = delete;

    NPP Npp() { return &npp_; }
    NPObject* Object() const { return object_; }
    const NPPluginFuncs& Funcs() const { return PluginLibrary::Get().funcs; }
    NPError created = NPERR_GENERIC_ERROR;

    NPError SetWindow(HDC dc, int width, int height);
    // NPP_NewStream, one NPP_Write per piece (each at offset 0, as this host's downloads are
    // written), NPP_URLNotify and NPP_DestroyStream.
    void Deliver(const std::vector<std::uint8_t>& bytes, const std::string& url, void* notifyData,
                 int pieces = 1);
    std::int16_t Paint(HDC dc, RECT dirty);

    // A method of the scriptable object; the result is released by the caller.
    bool Invoke(const char* method, const std::vector<NPVariant>& args, NPVariant& result);
    NPVariant InvokeOrFail(const char* method, const std::vector<NPVariant>& args = {});

    // NPP_Destroy now, instead of in the destructor.
    NPError Destroy();

private:
    NPP_t npp_{};
    NPObject* object_ = nullptr;
    bool destroyed_ = false;
    std::vector<NPStream> streams_;
};

} // namespace zn::np::testing
