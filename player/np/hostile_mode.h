// The hostile mode: what a real player may do to its browser and the reference plug-in does only
// when a test asks for it (through ZnNpSetHostile), and the record of contract violations the
// plug-in finds in what the browser does, whatever the mode (common/violations.h).
#pragma once

#include "common/violations.h"
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

using player::ReportViolation;
using player::TakeViolations;

} // namespace zn::np
