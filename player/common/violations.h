// Contract violations the reference player finds in what its host does: each is a line in the
// call log and in a log of its own, which tests take and expect empty.
#pragma once

#include <cstddef>
#include <string_view>

namespace zn::player {

// Logs "Violation what=..." in the call log and keeps it for TakeViolations.
void ReportViolation(std::string_view what);
// Taken as CallLog::Take takes the call log.
std::size_t TakeViolations(char* buffer, std::size_t capacity);

} // namespace zn::player
