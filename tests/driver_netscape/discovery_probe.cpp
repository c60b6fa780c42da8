// Starts the driver's unit in a process of its own: exit code 1 when the plug-in was found and
// gave its entry points, 0 when not.
#include "zintara/zn_driver_netscape.h"

int main() { return zn::TznFlashDriverNS::PluginExists() ? 1 : 0; }
