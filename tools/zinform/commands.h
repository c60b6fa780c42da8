// zinform's commands over form files.
#pragma once

#include "arguments.h"

#include <string>

namespace zn::zinform {

// Runs Command, appending what it reports for the user to Out, a line each. Failures raise the
// framework's exceptions with a message naming the file, component or item at fault; a form
// file is only written once everything it needs has been read.
void RunCommand(const TCommand& Command, std::wstring& Out);

} // namespace zn::zinform
