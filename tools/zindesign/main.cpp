// zindesign: a form designer for forms with the player components. The palette page lists the
// registered components, a press on the form drops the chosen one, the mouse selects, moves
// and sizes, and the object inspector edits the selection's properties through the registered
// property editors. Forms are opened and saved as binary or text form files.
//
//   zindesign [FORM]                       the designer, with FORM opened when given
//   zindesign --demo FOLDER --embed FILE   the scripted session: a form with every component,
//                                          FILE embedded, saved with a screenshot into FOLDER
//
// Exit status: 0 done, 1 the session failed, 2 the command line was refused.
#include "demo_script.h"
#include "designer_window.h"
#include "error_report.h"

#include "zintara/framework/application.h"
#include "zintara/framework/module_paths.h"
#include "zintara/zn_flashreg.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

using namespace zn;
using namespace zn::zindesign;

constexpr int ExitDone = 0, ExitFailed = 1, ExitRefused = 2;

struct TOptions {
    std::wstring Form;
    std::wstring DemoFolder;
    std::wstring EmbedFile;
};

bool ParseOptions(int argc, wchar_t** argv, TOptions& Options)
{
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        // Full paths: the script types the file name into the open dialog, whose folder is not
        // ours.
        if (argument == L"--demo" && i + 1 < argc)
            Options.DemoFolder = FullPath(argv[++i]);
        else if (argument == L"--embed" && i + 1 < argc)
            Options.EmbedFile = FullPath(argv[++i]);
        else if (!argument.starts_with(L"--") && Options.Form.empty())
            Options.Form = argument;
        else
            return false;
    }
    return Options.DemoFolder.empty() == Options.EmbedFile.empty();
}

int Design(const TOptions& Options)
{
    TApplication application(nullptr);
    application.Initialize();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterFormClasses();
    Register();

    auto* window = application.CreateForm<TDesignerWindow>();
    window->Show();
    if (!Options.Form.empty()) {
        try {
            window->Designer().Open(Options.Form);
        } catch (const std::exception& error) {
            ReportError(window->Handle(), error);
        }
    }
    if (!Options.DemoFolder.empty()) {
        RunDemoScript(*window, Options.DemoFolder, Options.EmbedFile);
        std::wprintf(L"zindesign: the form and a screenshot are in %ls\n",
                     Options.DemoFolder.c_str());
        return ExitDone;
    }
    application.Run();
    return ExitDone;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    TOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fwprintf(stderr, L"usage: zindesign [FORM] | zindesign --demo FOLDER --embed FILE\n");
        return ExitRefused;
    }
    try {
        return Design(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zindesign: %s\n", error.what());
        return ExitFailed;
    }
}
