// Where the running program lives (hosts look for files placed beside the executable), and
// paths made absolute.
#pragma once

#include <string>

namespace zn {

// The folder of the running executable, with its trailing separator; empty when the system
// cannot tell.
std::wstring ExecutableFolder();
// Path made absolute against the current folder; Path itself when the system cannot tell.
std::wstring FullPath(const std::wstring& Path);

} // namespace zn
