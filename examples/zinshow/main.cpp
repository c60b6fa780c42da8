// zinshow: the player components together. A form with a painted background carries a windowed
// and a graphic player, a shaped layered window floats over it, and an offscreen player writes
// its frames with their real alpha as PNG files. After a few seconds it saves screenshots of its
// windows as PNG files and quits; --stay keeps it open until its form is closed.
//
//   zinshow [--seconds N] [--out DIR] [--stay] [--host activex|netscape] [MOVIE]
//
// Without --host every player takes the Flash host the library picks.
//
// Exit status: 0 shown, 1 a file could not be written, 2 the command line was refused.
#include "png_writer.h"
#include "screenshot.h"
#include "showcase_forms.h"

#include "zintara/framework/application.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/module_paths.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using namespace zn;
using namespace zn::zinshow;
using zn::zinplay::TPngWriter;

constexpr int ExitShown = 0, ExitFailed = 1, ExitRefused = 2;

struct TOptions {
    int Seconds = 4;
    std::wstring Out = L"zinshow";
    bool Stay = false;
    std::wstring Movie;
    TznPlugin Plugin = znDefault;
};

bool ParseOptions(int argc, wchar_t** argv, TOptions& Options)
{
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--stay")
            Options.Stay = true;
        else if (argument == L"--seconds" && i + 1 < argc) {
            wchar_t* end = nullptr;
            const long seconds = std::wcstol(argv[++i], &end, 10);
            if (*end != L'\0' || seconds < 1 || seconds > 600)
                return false;
            Options.Seconds = static_cast<int>(seconds);
        } else if (argument == L"--out" && i + 1 < argc) {
            Options.Out = argv[++i];
        } else if (argument == L"--host" && i + 1 < argc) {
            const std::wstring host = argv[++i];
            if (host != L"activex" && host != L"netscape")
                return false;
            Options.Plugin = host == L"activex" ? znActiveX : znNetscape;
        } else if (!argument.starts_with(L"--") && Options.Movie.empty())
            Options.Movie = argument;
        else
            return false;
    }
    if (Options.Movie.empty())
        Options.Movie = ExecutableFolder() + L"sample.swf";
    return true;
}

// The offscreen player's frames, one file per half second of playing.
class TFrameRecorder {
public:
    TFrameRecorder(TPngWriter& Writer, const std::wstring& Folder, const std::wstring& Movie,
                   TznPlugin Plugin)
        : FWriter(Writer), FFolder(Folder)
    {
        FPlayer.SetPlugin(Plugin);
        FPlayer.SetWidth(320);
        FPlayer.SetHeight(240);
        FPlayer.SetMovie(Movie);
    }

    void WriteFrame()
    {
        wchar_t name[32];
        std::swprintf(name, 32, L"offscreen-%02d.png", ++FCount);
        if (FPlayer.BufferARGB())
            FWriter.Write(FFolder + name, static_cast<const std::uint32_t*>(FPlayer.BufferARGB()),
                          FPlayer.Driver()->Width(), FPlayer.Driver()->Height());
    }

private:
    TPngWriter& FWriter;
    std::wstring FFolder;
    TznFlashPlayerComp FPlayer{nullptr};
    int FCount = 0;
};

void WriteScreenshot(TPngWriter& Writer, const std::wstring& Path, HWND Window)
{
    RECT area{};
    GetWindowRect(Window, &area);
    const std::vector<std::uint32_t> pixels = CaptureScreen(area);
    if (!pixels.empty())
        Writer.Write(Path, pixels.data(), area.right - area.left, area.bottom - area.top);
}

int Show(const TOptions& Options)
{
    TApplication application(nullptr);
    application.Initialize();
    TPngWriter writer;
    CreateDirectoryW(Options.Out.c_str(), nullptr);
    const std::wstring folder = Options.Out + L"\\";

    auto* striped = new TStripedForm(&application, Options.Movie, Options.Plugin);
    auto* layered = new TLayerForm(&application, Options.Movie, Options.Plugin);
    striped->Show();
    layered->Show();
    TFrameRecorder recorder(writer, folder, Options.Movie, Options.Plugin);

    if (Options.Stay) {
        application.Run();
        return ExitShown;
    }
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(Options.Seconds) * 1000;
    ULONGLONG next_frame = GetTickCount64();
    while (GetTickCount64() < end) {
        application.ProcessMessages();
        if (GetTickCount64() >= next_frame) {
            recorder.WriteFrame();
            next_frame += 500;
        }
        Sleep(10);
    }
    WriteScreenshot(writer, folder + L"form.png", striped->Handle());
    WriteScreenshot(writer, folder + L"layer.png", layered->Handle());
    std::wprintf(L"zinshow: screenshots and offscreen frames in %ls\n", Options.Out.c_str());
    return ExitShown;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    TOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fwprintf(stderr, L"usage: zinshow [--seconds N] [--out DIR] [--stay] "
                              L"[--host activex|netscape] [MOVIE]\n");
        return ExitRefused;
    }
    try {
        return Show(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zinshow: %s\n", error.what());
        return ExitFailed;
    }
}
