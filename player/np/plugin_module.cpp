// State of the loaded plug-in library.
#include "plugin_module.h"

namespace zn::np {

namespace {
bool localRestrictionLifted = false;
}

void LiftLocalRestriction()
{
    localRestrictionLifted = true;
}

bool LocalRestrictionLifted()
{
    return localRestrictionLifted;
}

} // namespace zn::np
