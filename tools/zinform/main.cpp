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
void Write(DWORD Which, const std::wstring& Text)
{
    if (Text.empty())
        return;
    HANDLE handle = GetStdHandle(Which);
    if (handle == INVALID_HANDLE_VALUE || !handle)
        return;
    DWORD mode, done;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, Text.data(), static_cast<DWORD>(Text.size()), &done, nullptr);
        return;
    }
    std::string bytes = zn::WideToUtf8(Text);
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
}

void Fail(const std::wstring& Message)
{
    Write(STD_ERROR_HANDLE, L"zinform: " + Message + L"\r\n");
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    using namespace zn::zinform;
    zn::RegisterFlashListClasses();
    std::wstring out;
    try {
        RunCommand(ParseArguments(std::vector<std::wstring>(argv + 1, argv + argc)), out);
        Write(STD_OUTPUT_HANDLE, out);
        return 0;
    } catch (const EUsageError& error) {
        Fail(error.Message());
        Write(STD_ERROR_HANDLE, UsageText());
        return 2;
    } catch (const zn::Exception& error) {
        Fail(error.Message());
    } catch (const std::exception& error) {
        Fail(zn::Utf8ToWide(error.what()));
    }
    return 1;
}
