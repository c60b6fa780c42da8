// Where an exception nobody handles is reported: the debugger's output.
#pragma once

#include "zintara/framework/exceptions.h"

#include <windows.h>

#include <exception>

namespace zn {

inline void WriteExceptionToDebugger(const std::exception& E) {
    const auto* Framework = dynamic_cast<const Exception*>(&E);
    std::wstring Text = Framework ? Framework->Message() : L"Unhandled exception";
    OutputDebugStringW((Text + L"\n").c_str());
}

} // namespace zn
