// The child process: its command line quoted the way the C runtime splits it, its output
// sent to files in the scratch folder so that neither stream can block the other.
#include "tool_process.h"

#include "zintara/framework/handles.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

std::wstring Quoted(const std::wstring& Argument) {
    if (!Argument.empty() && Argument.find_first_of(L" \t\"") == std::wstring::npos) return Argument;
    std::wstring Result = L"\"";
    std::size_t Backslashes = 0;
    for (wchar_t C : Argument) {
        if (C == L'\\') {
            ++Backslashes;
            continue;
        }
        Result.append(C == L'"' ? 2 * Backslashes + 1 : Backslashes, L'\\');
        Backslashes = 0;
        Result += C;
    }
    Result.append(2 * Backslashes, L'\\');
    return Result + L"\"";
}

std::wstring BesideThisExecutable(const std::wstring& Name) {
    wchar_t Path[MAX_PATH];
    DWORD Length = GetModuleFileNameW(nullptr, Path, MAX_PATH);
    std::wstring Self(Path, Length);
    return Self.substr(0, Self.find_last_of(L'\\') + 1) + Name;
}

zn::TFileHandle InheritableFile(const std::wstring& Path) {
    SECURITY_ATTRIBUTES Inherit{sizeof Inherit, nullptr, TRUE};
    zn::TFileHandle File(CreateFileW(Path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &Inherit, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!File) throw std::runtime_error("cannot create an output file for the tool");
    return File;
}

std::string FileText(const std::wstring& Path) {
    std::ifstream File(std::filesystem::path(Path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>());
}

} // namespace

TToolRun RunZinform(const std::vector<std::wstring>& Arguments, const std::wstring& Folder) {
    std::wstring Program = BesideThisExecutable(L"zinform.exe");
    std::wstring CommandLine = Quoted(Program);
    for (const std::wstring& Argument : Arguments) CommandLine += L" " + Quoted(Argument);

    std::wstring OutPath = Folder + L"\\.zinform-out";
    std::wstring ErrPath = Folder + L"\\.zinform-err";
    zn::TFileHandle Out = InheritableFile(OutPath);
    zn::TFileHandle Err = InheritableFile(ErrPath);
    STARTUPINFOW Startup{};
    Startup.cb = sizeof Startup;
    Startup.dwFlags = STARTF_USESTDHANDLES;
    Startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    Startup.hStdOutput = Out.get();
    Startup.hStdError = Err.get();
    PROCESS_INFORMATION Process{};
    BOOL Started = CreateProcessW(Program.c_str(), CommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  Folder.c_str(), &Startup, &Process);
    // The child holds its own copies; the tool's output is read only once it has ended.
    Out.reset();
    Err.reset();
    if (!Started) throw std::runtime_error("cannot start zinform.exe");

    TToolRun Run;
    const zn::TKernelHandle Thread(Process.hThread), Child(Process.hProcess);
    WaitForSingleObject(Child.get(), INFINITE);
    GetExitCodeProcess(Child.get(), &Run.ExitCode);
    Run.Out = FileText(OutPath);
    Run.Err = FileText(ErrPath);
    DeleteFileW(OutPath.c_str());
    DeleteFileW(ErrPath.c_str());
    return Run;
}

TScratchFolder::TScratchFolder() {
    wchar_t Temp[MAX_PATH];
    DWORD Length = GetTempPathW(MAX_PATH, Temp);
    std::wstring Base = std::wstring(Temp, Length) + L"zinform-test-" + std::to_wstring(GetCurrentProcessId());
    for (unsigned Attempt = 0;; ++Attempt) {
        FPath = Base + L"-" + std::to_wstring(Attempt);
        if (CreateDirectoryW(FPath.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create a scratch folder");
    }
}

TScratchFolder::~TScratchFolder() {
    std::error_code Ignored;
    std::filesystem::remove_all(std::filesystem::path(FPath), Ignored);
}
