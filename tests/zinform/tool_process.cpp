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

std::wstring Quoted(const std::wstring& Argument)
{
    if (!Argument.empty() && Argument.find_first_of(L" \t\"") == std::wstring::npos)
        return Argument;
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : Argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        result.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        result += c;
    }
    result.append(2 * backslashes, L'\\');
    return result + L"\"";
}

std::wstring BesideThisExecutable(const std::wstring& Name)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self(path, length);
    return self.substr(0, self.find_last_of(L'\\') + 1) + Name;
}

zn::TFileHandle InheritableFile(const std::wstring& Path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    zn::TFileHandle file(CreateFileW(Path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot create an output file for the tool");
    return file;
}

std::string FileText(const std::wstring& Path)
{
    std::ifstream file(std::filesystem::path(Path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

TToolRun RunZinform(const std::vector<std::wstring>& Arguments, const std::wstring& Folder)
{
    std::wstring program = BesideThisExecutable(L"zinform.exe");
    std::wstring command_line = Quoted(program);
    for (const std::wstring& argument : Arguments)
        command_line += L" " + Quoted(argument);

    std::wstring out_path = Folder + L"\\.zinform-out";
    std::wstring err_path = Folder + L"\\.zinform-err";
    zn::TFileHandle out = InheritableFile(out_path);
    zn::TFileHandle err = InheritableFile(err_path);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    PROCESS_INFORMATION process{};
    BOOL started = CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0,
                                  nullptr, Folder.c_str(), &startup, &process);
    // The child holds its own copies; the tool's output is read only once it has ended.
    out.reset();
    err.reset();
    if (!started)
        throw std::runtime_error("cannot start zinform.exe");

    TToolRun run;
    const zn::TKernelHandle thread(process.hThread), child(process.hProcess);
    WaitForSingleObject(child.get(), INFINITE);
    GetExitCodeProcess(child.get(), &run.ExitCode);
    run.Out = FileText(out_path);
    run.Err = FileText(err_path);
    DeleteFileW(out_path.c_str());
    DeleteFileW(err_path.c_str());
    return run;
}

TScratchFolder::TScratchFolder()
{
    wchar_t temp[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, temp);
    std::wstring base =
        std::wstring(temp, length) + L"zinform-test-" + std::to_wstring(GetCurrentProcessId());
    for (unsigned attempt = 0;; ++attempt) {
        FPath = base + L"-" + std::to_wstring(attempt);
        if (CreateDirectoryW(FPath.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a scratch folder");
    }
}

TScratchFolder::~TScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(FPath), ignored);
}
