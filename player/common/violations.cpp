// The record of contract violations.
#include "common/violations.h"

#include "common/call_log.h"

namespace zn::player {

namespace {

CallLog& ViolationLog()
{
    static CallLog log;
    return log;
}

} // namespace

void ReportViolation(std::string_view what)
{
    LogLine line("Violation");
    line.Text("what", what);
    CallLogOfProcess().Record(line);
    ViolationLog().Record(line);
}

std::size_t TakeViolations(char* buffer, std::size_t capacity)
{
    return ViolationLog().Take(buffer, capacity);
}

} // namespace zn::player
