// The hostile mode: what a real player may do to its browser and the reference plug-in does only
// when a test asks for it (through ZnNpSetHostile), and the record of contract violations the
// plug-in finds in what the browser does, whatever the mode.
#pragma once

#include "reference_plugin_control.h"

#include <string>
#include <string_view>

namespace zn::np {

struct HostileMode {
    unsigned flags = 0;
    // The URL an instance requests from inside NPP_New with ZnNpHostileRequestInNew.
    std::string url;

    bool Has(unsigned flag) const { return (flags & flag) != 0; }
};

HostileMode& Hostility();

// Logs "Violation <what>" in the call log and keeps it for ZnNpTakeViolations.
void ReportViolation(std::string_view what);
std::size_t TakeViolations(char* buffer, std::size_t capacity);

} // namespace zn::np
