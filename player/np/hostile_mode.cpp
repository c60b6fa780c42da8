// The hostile mode's switches and the record of contract violations.
#include "hostile_mode.h"

#include "call_log.h"

namespace zn::np {

HostileMode& Hostility()
{
    static HostileMode mode;
    return mode;
}

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

} // namespace zn::np
