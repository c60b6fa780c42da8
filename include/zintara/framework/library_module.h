// The module the library's code is linked into. The library is static, so this is the program or
// DLL that links it, and its resources (window classes, built-in movies) belong to that module.
#pragma once

#include <windows.h>

namespace zn {

HMODULE LibraryModule() noexcept;

} // namespace zn
