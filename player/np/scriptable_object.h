// The scriptable object an instance gives the browser: the movie-control methods and the "Loop"
// property, each forwarded to the instance while it lives.
#pragma once

#include "npapi.h"

namespace zn::np {

class Instance;

struct ScriptableObject : NPObject {
    // Null once the instance is destroyed; the object then answers every call as failed.
    Instance* instance = nullptr;
};

NPClass* ScriptableObjectClass();

} // namespace zn::np
