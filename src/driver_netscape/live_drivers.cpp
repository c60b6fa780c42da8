// The drivers alive now, so that an instance pointer from the plug-in is trusted only when it is
// the instance record of one of them.
#include "browser_table.h"

#include <unordered_set>

namespace zn::netscape {
namespace {

std::unordered_set<TznFlashDriverNS*>& LiveDrivers()
{
    // Never destroyed: a driver may outlive the other static objects.
    static auto* drivers = new std::unordered_set<TznFlashDriverNS*>;
    return *drivers;
}

} // namespace

TznFlashDriverNS* DriverOf(PNPP Instance)
{
    if (!Instance || !Instance->ndata)
        return nullptr;
    auto* driver = static_cast<TznFlashDriverNS*>(Instance->ndata);
    if (!IsLiveDriver(driver) || &driver->Instance() != Instance)
        return nullptr;
    return driver;
}

bool IsLiveDriver(const TznFlashDriverNS* Driver)
{
    return LiveDrivers().contains(const_cast<TznFlashDriverNS*>(Driver));
}

void RegisterDriver(TznFlashDriverNS* Driver) { LiveDrivers().insert(Driver); }

void UnregisterDriver(TznFlashDriverNS* Driver) { LiveDrivers().erase(Driver); }

} // namespace zn::netscape
