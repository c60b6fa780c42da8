// A folder of files for one test.
#pragma once

#include <string>

namespace zn::test {

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

} // namespace zn::test
