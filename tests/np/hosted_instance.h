// One plug-in instance as a host holds it: its NPP record, created windowless through NPP_New
// with the attributes a host passes, its scriptable object, and movies handed over as streams.
#pragma once

#include "plugin_library.h"
#include "support/dib_surface.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zn::test {

class HostedInstance {
public:
    // NPP_New with "wmode", "bgcolor", "width" and "height", then the scriptable object.
    HostedInstance(int width, int height, bool transparent = true);
    ~HostedInstance();
    HostedInstance(const HostedInstance&) = delete;
    HostedInstance& operator=(const HostedInstance&) = delete;

    np::NPP Npp() { return &npp_; }
    np::NPObject* Object() const { return object_; }
    const np::NPPluginFuncs& Funcs() const { return PluginLibrary::Get().funcs; }
    np::NPError created = np::NPERR_GENERIC_ERROR;

    np::NPError SetWindow(HDC dc, int width, int height);
    // NPP_NewStream, one NPP_Write per piece (each at offset 0, as this host's downloads are
    // written), NPP_URLNotify and NPP_DestroyStream.
    void Deliver(const std::vector<std::uint8_t>& bytes, const std::string& url, void* notifyData,
                 int pieces = 1);
    std::int16_t Paint(HDC dc, RECT dirty);

    // A method of the scriptable object; the result is released by the caller.
    bool Invoke(const char* method, const std::vector<np::NPVariant>& args, np::NPVariant& result);
    np::NPVariant InvokeOrFail(const char* method, const std::vector<np::NPVariant>& args = {});

    // NPP_Destroy now, instead of in the destructor.
    np::NPError Destroy();

private:
    np::NPP_t npp_{};
    np::NPObject* object_ = nullptr;
    bool destroyed_ = false;
    std::vector<np::NPStream> streams_;
};

} // namespace zn::test
