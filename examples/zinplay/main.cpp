// zinplay: plays a movie through one of the library's Flash hosts, writes its frames with their
// real alpha as PNG files, and prints what passes between the movie and the application.
//
//   zinplay [--frames N] [--size WxH] [--opaque] [--png DIR] [--host activex|netscape] [MOVIE]
//
// Exit status: 0 played, 1 the movie or the player failed, 2 the command line was refused.
#include "play_options.h"
#include "play_session.h"
#include "transcript.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/file_stream.h"
#include "zintara/framework/text.h"
#include "zintara/framework/module_paths.h"

#include <objbase.h>
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

namespace {

using namespace zn;
using namespace zn::zinplay;

constexpr int ExitPlayed = 0, ExitFailed = 1, ExitRefused = 2;

class TComApartment {
public:
    TComApartment() : FResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~TComApartment()
    {
        if (SUCCEEDED(FResult))
            CoUninitialize();
    }
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;

private:
    HRESULT FResult;
};

std::wstring FullPath(const std::wstring& Path)
{
    const DWORD size = GetFullPathNameW(Path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return Path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(Path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return Path;
    full.resize(length);
    return full;
}

bool IsFile(const std::wstring& Path)
{
    const DWORD attributes = GetFileAttributesW(Path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int Play(const std::vector<std::wstring>& Arguments)
{
    const TParsedOptions parsed = ParsePlayOptions(Arguments);
    if (!parsed.Options) {
        Complain(parsed.Error);
        Explain(UsageText());
        return ExitRefused;
    }
    const TPlayOptions& options = *parsed.Options;
    if (options.Help) {
        Say(UsageText());
        return ExitPlayed;
    }
    const std::wstring movie =
        FullPath(options.Movie.empty() ? ExecutableFolder() + L"sample.swf" : options.Movie);
    if (!IsFile(movie)) {
        Complain(L"no movie file at " + movie);
        return ExitFailed;
    }
    // A file the player cannot read is named as such, not taken for a movie it refused.
    try {
        TFileStream readable(movie, fmOpenRead | fmShareDenyWrite);
    } catch (const Exception& error) {
        Complain(L"cannot read the movie file: " + error.Message());
        return ExitFailed;
    }

    TComApartment apartment;
    TPlaySession session(options, movie);
    session.Run();
    return ExitPlayed;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    try {
        return Play(std::vector<std::wstring>(argv + (argc > 0 ? 1 : 0), argv + argc));
    } catch (const Exception& error) {
        Complain(error.Message());
    } catch (const std::exception& error) {
        Complain(std::wstring(L"unexpected failure: ") + AnsiToWide(error.what()));
    }
    return ExitFailed;
}
