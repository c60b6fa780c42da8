// Where an exception nobody handles is reported: the debugger's output.
#pragma once

#include "zintara/framework/exceptions.h"

#include <windows.h>

#include <exception>

namespace zn {

inline void WriteExceptionToDebugger(const std::exception& E)
{
    const auto* framework = dynamic_cast<const Exception*>(&E);
    std::wstring text = framework ? framework->Message() : L"Unhandled exception";
    OutputDebugStringW((text + L"\n").c_str());
}

} // namespace zn
