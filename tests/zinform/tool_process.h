// Running zinform.exe, found beside the test executable, as a child process in a folder of
// files, with its output captured.
#pragma once

#include <string>
#include <vector>

struct TToolRun {
    unsigned long ExitCode = 0;
    // As the tool wrote them, UTF-8.
    std::string Out;
    std::string Err;
};

TToolRun RunZinform(const std::vector<std::wstring>& Arguments, const std::wstring& Folder);

// A new empty folder for one test's files, removed with everything in it when destroyed.
class TScratchFolder {
public:
    TScratchFolder();
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::wstring& Path() const { return FPath; }
    std::wstring operator/(const std::wstring& Name) const { return FPath + L"\\" + Name; }

private:
    std::wstring FPath;
};
