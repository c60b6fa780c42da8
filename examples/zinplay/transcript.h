// What zinplay tells its user: one line at a time on standard output, complaints on standard
// error, in UTF-8, flushed at once so that nothing is lost when the player takes the process down.
#pragma once

#include <string_view>

namespace zn::zinplay {

void Say(std::wstring_view Line);
// On standard error as it is.
void Explain(std::wstring_view Line);
// On standard error, prefixed with "zinplay: ".
void Complain(std::wstring_view Line);

} // namespace zn::zinplay
