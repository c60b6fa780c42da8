// How the designer tells the user that something failed: a plain message box.
#pragma once

#include <windows.h>

#include <exception>

namespace zn::zindesign {

void ReportError(HWND Owner, const std::exception& Error);

} // namespace zn::zindesign
