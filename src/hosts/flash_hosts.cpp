// The driver classes that answer for the two Flash hosts. A host's driver joins selection by
// naming its class here, in the layer above the drivers, so that the core names none of them;
// that reference is also what keeps the driver's object files in a program linked against the
// static libraries. Both are constant-initialised: no code runs before main.
#include "zintara/hosts/driver_selection.h"
#include "zintara/zn_driver_activex.h"
#include "zintara/zn_driver_netscape.h"

namespace zn {

constinit TznFlashDriverClass NetscapeFlashDriverClass =
    TznFlashDriverClass::Of<TznFlashDriverNS>();
constinit TznFlashDriverClass ActiveXFlashDriverClass =
    TznFlashDriverClass::Of<TznFlashDriverActiveX>();

} // namespace zn
