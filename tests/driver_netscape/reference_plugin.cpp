// The reference plug-in's log and controls, and files for the tests.
#include "reference_plugin.h"

#include "zintara/zn_driver_netscape.h"
#include "zintara/framework/handles.h"
#include "zintara/framework/module_paths.h"

#include <stdexcept>

namespace zn::test {

TReferencePlugin& TReferencePlugin::Loaded()
{
    static TReferencePlugin plugin = [] {
        TznFlashDriverNS::PluginExists();
        HMODULE module = GetModuleHandleW(L"npswf32.dll");
        if (!module)
            throw std::runtime_error("the reference plug-in is not loaded");
        return TReferencePlugin{ReferencePluginExports(module)};
    }();
    return plugin;
}

std::vector<std::string> TakeLog()
{
    return TakeLines(TReferencePlugin::Loaded().TakeLog);
}

std::vector<std::string> TakeViolations()
{
    return TakeLines(TReferencePlugin::Loaded().TakeViolations);
}

std::vector<std::string> LinesOf(const std::vector<std::string>& Log, const std::string& Call)
{
    std::vector<std::string> lines;
    for (const std::string& line : Log)
        if (line.rfind(Call + " ", 0) == 0 || line == Call)
            lines.push_back(line);
    return lines;
}

std::vector<std::string> CallOrder(const std::vector<std::string>& Log)
{
    std::vector<std::string> calls;
    for (const std::string& line : Log) {
        const std::string call = line.substr(0, line.find(' '));
        if (call != "NPP_HandleEvent" && call != "NPP_SetWindow")
            calls.push_back(call);
    }
    return calls;
}

bool Contains(const std::string& Line, const std::string& Text)
{
    return Line.find(Text) != std::string::npos;
}

std::string ExecutableFolderAnsi()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

void WriteBytes(const std::wstring& Path, const std::vector<std::uint8_t>& Bytes)
{
    const TFileHandle file(CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot write a test file");
    DWORD written = 0;
    WriteFile(file.get(), Bytes.data(), static_cast<DWORD>(Bytes.size()), &written, nullptr);
}

bool PumpUntil(const std::function<bool()>& Done, std::chrono::milliseconds Timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + Timeout;
    while (!Done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return Done();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

} // namespace zn::test
