// One plug-in instance as a host holds it: its NPP record, created windowless through NPP_New
// with the attributes a host passes, its scriptable object, and movies handed over as streams;
// and a memory device context over a 32-bit DIB section for it to draw into.
#pragma once

#include "plugin_library.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zn::np::testing {

class MemoryCanvas {
public:
    MemoryCanvas(int width, int height);
    ~MemoryCanvas();
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    HDC Dc() const { return dc_; }
    void Fill(std::uint32_t pixel);
    std::uint32_t Pixel(int x, int y) const { return bits_[y * width_ + x]; }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

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
