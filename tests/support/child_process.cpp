// Child processes for tests, with output captured in files: a pipe would make the test wait for
// Wine's helper processes, which inherit it and outlive the child.
#include "child_process.h"

#include "zintara/framework/handles.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace zn::test {

namespace {

// Quoted the way the C runtime splits a command line: backslashes are literal except before a
// quote, where each one must be doubled, so a folder ending in a backslash stays one argument.
std::wstring Quoted(const std::wstring& Argument)
{
    if (!Argument.empty() && Argument.find_first_of(L" \t\"") == std::wstring::npos)
        return Argument;
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : Argument) {
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

TFileHandle InheritableFile(const std::wstring& Path)
{
    SECURITY_ATTRIBUTES security{sizeof(security), nullptr, TRUE};
    return TFileHandle(CreateFileW(Path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string FileBytes(const std::wstring& Path)
{
    std::ifstream in(std::filesystem::path(Path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

std::string WithoutCarriageReturns(std::string Text)
{
    std::erase(Text, '\r');
    return Text;
}

std::wstring TestFolder()
{
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    const std::wstring whole(path, length);
    return whole.substr(0, whole.find_last_of(L"\\/") + 1);
}

bool FileExists(const std::wstring& Path)
{
    const DWORD attributes = GetFileAttributesW(Path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveFolder(const std::wstring& Folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((Folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((Folder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(Folder.c_str());
}

TChildResult RunChild(const std::wstring& Program, const std::vector<std::wstring>& Arguments,
                      const std::wstring& WorkingFolder, unsigned long TimeoutMs)
{
    static int run = 0;
    const std::wstring stem = TestFolder() + L"child-" + std::to_wstring(GetCurrentProcessId()) +
                              L"-" + std::to_wstring(++run);
    const std::wstring output_path = stem + L".out", error_path = stem + L".err";

    std::wstring command_line = Quoted(Program);
    for (const std::wstring& argument : Arguments)
        command_line += L" " + Quoted(argument);

    TChildResult result;
    TFileHandle output = InheritableFile(output_path);
    TFileHandle errors = InheritableFile(error_path);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output.get();
    startup.hStdError = errors.get();
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(Program.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       WorkingFolder.c_str(), &startup, &process);
    // The child holds its own copies; the files are read only once it has ended.
    output.reset();
    errors.reset();
    if (!started) {
        result.ExitCode = ~0ul;
        result.Errors = "could not start the program, error " + std::to_string(GetLastError());
    } else {
        const TKernelHandle thread(process.hThread), child(process.hProcess);
        if (WaitForSingleObject(child.get(), TimeoutMs) != WAIT_OBJECT_0) {
            result.TimedOut = true;
            TerminateProcess(child.get(), 255);
            WaitForSingleObject(child.get(), INFINITE);
        }
        GetExitCodeProcess(child.get(), &result.ExitCode);
        result.Output = FileBytes(output_path);
        result.Errors += FileBytes(error_path);
    }
    DeleteFileW(output_path.c_str());
    DeleteFileW(error_path.c_str());
    return result;
}

} // namespace zn::test
