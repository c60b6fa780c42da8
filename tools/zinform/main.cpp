// zinform's console shell: the command line in, the report and errors out, the exit status.
// A failed command reports only its error, since it wrote nothing.
#include "arguments.h"
#include "commands.h"

#include "zintara/core/flash_list.h"
#include "zintara/framework/text.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

// To a console as UTF-16; to a file or pipe as UTF-8.
void Write(DWORD Which, const std::wstring& Text) {
    if (Text.empty()) return;
    HANDLE Handle = GetStdHandle(Which);
    if (Handle == INVALID_HANDLE_VALUE || !Handle) return;
    DWORD Mode, Done;
    if (GetConsoleMode(Handle, &Mode)) {
        WriteConsoleW(Handle, Text.data(), static_cast<DWORD>(Text.size()), &Done, nullptr);
        return;
    }
    std::string Bytes = zn::WideToUtf8(Text);
    WriteFile(Handle, Bytes.data(), static_cast<DWORD>(Bytes.size()), &Done, nullptr);
}

void Fail(const std::wstring& Message) { Write(STD_ERROR_HANDLE, L"zinform: " + Message + L"\r\n"); }

} // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace zn::zinform;
    zn::RegisterFlashListClasses();
    std::wstring Out;
    try {
        RunCommand(ParseArguments(std::vector<std::wstring>(argv + 1, argv + argc)), Out);
        Write(STD_OUTPUT_HANDLE, Out);
        return 0;
    } catch (const EUsageError& Error) {
        Fail(Error.Message());
        Write(STD_ERROR_HANDLE, UsageText());
        return 2;
    } catch (const zn::Exception& Error) {
        Fail(Error.Message());
    } catch (const std::exception& Error) {
        Fail(zn::Utf8ToWide(Error.what()));
    }
    return 1;
}
