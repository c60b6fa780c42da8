// The command line of zinform: which command, its operands, and the form format asked for.
#pragma once

#include "zintara/framework/exceptions.h"

#include <optional>
#include <string>
#include <vector>

namespace zn::zinform {

// A command line that does not say what to do; the tool answers with its usage text.
class EUsageError : public Exception {
public:
    using Exception::Exception;
};

enum class TCommandKind { Help, Add, List, Extract, Convert };

struct TCommand {
    TCommandKind Kind = TCommandKind::Help;
    std::vector<std::wstring> Operands;
    // Set by --text (true) or --binary (false).
    std::optional<bool> Text;
};

// Raises EUsageError for an unknown command or option, or the wrong number of operands.
TCommand ParseArguments(const std::vector<std::wstring>& Arguments);

const std::wstring& UsageText();

} // namespace zn::zinform
