// Running a program as a child process and collecting what it printed and how it ended.
#pragma once

#include <string>
#include <vector>

namespace zn::test {

struct TChildResult {
    unsigned long ExitCode = 0;
    std::string Output;
    std::string Errors;
    bool TimedOut = false;
};

// Runs Program with Arguments (each quoted) from WorkingFolder, standard output and standard
// error captured through files, byte for byte; a child still running after TimeoutMs is ended.
TChildResult RunChild(const std::wstring& Program, const std::vector<std::wstring>& Arguments,
                      const std::wstring& WorkingFolder, unsigned long TimeoutMs = 120000);

// Text as the C runtime writes it in text mode (CR LF) with LF line ends.
std::string WithoutCarriageReturns(std::string Text);

// The folder of the running test executable, ending with a backslash.
std::wstring TestFolder();

// Removes Folder and the files directly inside it, if it exists.
void RemoveFolder(const std::wstring& Folder);

bool FileExists(const std::wstring& Path);

} // namespace zn::test
