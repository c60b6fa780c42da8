// Starts the driver's unit in a process of its own: exit code 1 when the plug-in was found and
// gave its entry points, 0 when not.
//
// With the argument "late", a driver that a static object owns is destroyed after the unit shut
// down: exit code 0 when that found no plug-in and left the library unloaded, 1 when the unit
// answered that the plug-in exists, 2 when the library was loaded again, 3 when there was no
// plug-in to begin with.
#include "zintara/zn_driver_netscape.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Built before main, so it is destroyed after the unit's shut-down.
struct TLateOwner {
    std::unique_ptr<zn::TznFlashDriverNS> Driver;
    ~TLateOwner()
    {
        if (!Driver)
            return;
        Driver.reset();
        const bool answered = zn::TznFlashDriverNS::PluginExists();
        const bool loaded = GetModuleHandleW(L"npswf32.dll") != nullptr;
        _exit(answered ? 1 : loaded ? 2 : 0);
    }
} LateOwner;

} // namespace

int main(int argc, char** argv)
{
    const bool found = zn::TznFlashDriverNS::PluginExists();
    if (argc < 2 || std::strcmp(argv[1], "late") != 0)
        return found ? 1 : 0;
    if (!found)
        return 3;
    LateOwner.Driver = std::make_unique<zn::TznFlashDriverNS>(16, 16, 0u);
    return 0;
}
