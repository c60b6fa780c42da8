// The reference plug-in as the driver's tests see it: its call log and its test controls, and
// the files and movies the tests hand to it.
#pragma once

#include "support/reference_plugin_exports.h"
#include "zintara/framework/module_paths.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zn::test {

struct TReferencePlugin : TReferencePluginExports {
    // The plug-in the driver's unit loaded (it starts the unit first).
    static TReferencePlugin& Loaded();
};

// The log since the last call, one entry per line.
std::vector<std::string> TakeLog();
// The contract violations the plug-in found since the last call, one per line.
std::vector<std::string> TakeViolations();
// The lines that begin with Call followed by a blank, in order.
std::vector<std::string> LinesOf(const std::vector<std::string>& Log, const std::string& Call);
// The first word of every line, leaving out the painting calls that the plug-in's frame timer
// may cause at any time.
std::vector<std::string> CallOrder(const std::vector<std::string>& Log);
bool Contains(const std::string& Line, const std::string& Text);

std::string ExecutableFolderAnsi();
void WriteBytes(const std::wstring& Path, const std::vector<std::uint8_t>& Bytes);

// Pumps messages until Done answers true or the time is up; answers Done().
bool PumpUntil(const std::function<bool()>& Done,
               std::chrono::milliseconds Timeout = std::chrono::seconds(10));

} // namespace zn::test
