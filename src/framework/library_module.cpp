// The module the library's code is linked into (see library_module.h).
#include "zintara/framework/library_module.h"

namespace zn {

// Found from the address of this function, which lies in that module whatever loaded it.
HMODULE LibraryModule() noexcept
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&LibraryModule), &module);
    return module;
}

} // namespace zn
