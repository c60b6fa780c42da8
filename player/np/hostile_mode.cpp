// The hostile mode's switches.
#include "hostile_mode.h"

namespace zn::np {

HostileMode& Hostility()
{
    static HostileMode mode;
    return mode;
}

} // namespace zn::np
