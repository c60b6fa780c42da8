#include "tool_process.h"

#include "support/child_process.h"

namespace zn::test {

TToolRun RunZinform(const std::vector<std::wstring>& Arguments, const std::wstring& Folder)
{
    const TChildResult run = RunChild(TestFolder() + L"zinform.exe", Arguments, Folder);
    return TToolRun{run.ExitCode, run.Output, run.Errors};
}

} // namespace zn::test
