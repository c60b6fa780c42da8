// The script through which the plug-in makes an ExternalInterface call: the browser evaluates
// `try { __flash__toXML(NAME(ARGS)) ; } catch (e) { "<undefined/>"; }` and answers with the
// call's result in ExternalInterface XML.
#pragma once

#include "znswf/external_interface.h"

#include <string>
#include <string_view>
#include <vector>

namespace zn::np {

using FlashCallArgument = swf::ExternalValue;

// Strings go in double quotes, escaped as script string literals; numbers, Booleans, null and
// undefined go bare, numbers as the movie prints them.
std::string FlashCallScript(std::string_view name, const std::vector<FlashCallArgument>& args);

} // namespace zn::np
