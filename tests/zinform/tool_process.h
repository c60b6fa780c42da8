// Running zinform.exe, found beside the test executable, as a child process in a folder of
// files, with its output captured.
#pragma once

#include "support/scratch_folder.h"

#include <string>
#include <vector>

namespace zn::test {

struct TToolRun {
    unsigned long ExitCode = 0;
    // As the tool wrote them, UTF-8.
    std::string Out;
    std::string Err;
};

TToolRun RunZinform(const std::vector<std::wstring>& Arguments, const std::wstring& Folder);

} // namespace zn::test
