// Nothing thrown inside the plug-in crosses back into the browser or a test: every exported
// entry runs its work through one of these and answers a failure code instead.
#pragma once

#include "common/guarded.h"
#include "npapi.h"

#include <new>

namespace zn::np {

template <typename Call>
NPError Guarded(Call call)
{
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return NPERR_OUT_OF_MEMORY_ERROR;
    } catch (...) {
        return NPERR_GENERIC_ERROR;
    }
}

using player::GuardedOr;

} // namespace zn::np
