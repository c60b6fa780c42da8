// The shared call log as the plug-in writes it: NPAPI variants in its text form.
#pragma once

#include "common/call_log.h"

#include <cstdint>
#include <string>

namespace zn::np {

struct NPVariant;

using player::CallLog;
using player::CallLogOfProcess;
using player::HexAddress;
using player::LogLine;
using player::Quoted;

// Variants print as void, null, true, false, integers, doubles with a point ("2.5", "3.0"),
// quoted strings and object(0x...).
std::string DescribeVariant(const NPVariant& value);
// "(a, b, c)"; "(null)" for a null list that claims values.
std::string VariantsText(const NPVariant* values, std::uint32_t count);

} // namespace zn::np
