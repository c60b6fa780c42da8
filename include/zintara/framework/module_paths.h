// Where the running program lives: hosts look for files placed beside the executable.
#pragma once

#include <string>

namespace zn {

// The folder of the running executable, with its trailing separator; empty when the system
// cannot tell.
std::wstring ExecutableFolder();

} // namespace zn
