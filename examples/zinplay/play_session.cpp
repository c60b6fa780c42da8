// TPlaySession: playing a movie through the Flash host the library picks, or the one asked for.
#include "play_session.h"

#include "external_calls.h"
#include "frame_clock.h"
#include "transcript.h"

#include "zintara/hosts/driver_selection.h"
#include "zintara/core/external_interface.h"
#include "zintara/framework/exceptions.h"
#include "zintara/zn_driver_activex.h"
#include "zintara/zn_driver_netscape.h"

#include <windows.h>

namespace zn::zinplay {

namespace {

bool IsFolder(const std::wstring& Path)
{
    const DWORD attributes = GetFileAttributesW(Path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes Path and every missing folder above it.
void MakeFolder(const std::wstring& Path)
{
    for (std::size_t end = Path.find_first_of(L"\\/", 1);;
         end = Path.find_first_of(L"\\/", end + 1)) {
        const std::wstring prefix = Path.substr(0, end);
        if (!prefix.empty() && prefix.back() != L':' && !IsFolder(prefix))
            CreateDirectoryW(prefix.c_str(), nullptr);
        if (end == std::wstring::npos)
            break;
    }
    if (!IsFolder(Path))
        throw Exception(L"cannot make the folder " + Path + L": " +
                        SystemErrorMessage(GetLastError()));
}

std::wstring JoinPath(const std::wstring& Folder, const std::wstring& Name)
{
    if (Folder.empty() || Folder.back() == L'\\' || Folder.back() == L'/')
        return Folder + Name;
    // The user's own separator, so that the printed path reads as the one given.
    const bool forward =
        Folder.find(L'/') != std::wstring::npos && Folder.find(L'\\') == std::wstring::npos;
    return Folder + (forward ? L"/" : L"\\") + Name;
}

std::wstring OrNothing(const std::wstring& Text)
{
    return Text.empty() ? L"(nothing)" : Text;
}

// The component's Plugin preference that selects Host; the library's rules do the rest.
TznPlugin PluginOf(THost Host)
{
    switch (Host) {
    case THost::ActiveX: return znActiveX;
    case THost::Netscape: return znNetscape;
    default: return znDefault;
    }
}

// Why Host cannot play; empty when it can.
std::wstring MissingHost(THost Host)
{
    CheckFlashPlugins();
    const bool active_x = ActiveXFlashDriverClass.PluginExists();
    const bool netscape = NetscapeFlashDriverClass.PluginExists();
    const std::wstring plugin_hint = L"place npswf32.dll beside zinplay.exe, or install the "
                                     L"Flash Player's Netscape plug-in";
    const std::wstring control_hint = L"register the Flash Player's ActiveX control";
    if (Host == THost::ActiveX && !active_x)
        return L"no Flash Player found for --host activex: " + control_hint;
    if (Host == THost::Netscape && !netscape)
        return L"no Flash Player found for --host netscape: " + plugin_hint;
    if (!active_x && !netscape)
        return L"no Flash Player found: " + plugin_hint + L"; or " + control_hint;
    return {};
}

std::wstring HostName(const TznFlashDriver& Driver)
{
    if (Driver.InheritsFrom(TznFlashDriverActiveX::ClassInfo()))
        return L"the ActiveX control";
    if (Driver.InheritsFrom(TznFlashDriverNS::ClassInfo()))
        return L"the Netscape plug-in";
    return L"no Flash Player";
}

} // namespace

TPlaySession::TPlaySession(const TPlayOptions& Options, std::wstring MoviePath)
    : FOptions(Options), FMoviePath(std::move(MoviePath))
{
    if (const std::wstring missing = MissingHost(FOptions.Host); !missing.empty())
        throw Exception(missing);
    if (!FOptions.PngFolder.empty()) {
        MakeFolder(FOptions.PngFolder);
        FPngWriter.emplace();
    }
}

// The driver goes first: the player may still call back while it is destroyed.
TPlaySession::~TPlaySession()
{
    FDriver.reset();
}

void TPlaySession::Run()
{
    const bool opaque = FOptions.Opaque;
    Say(L"zinplay: playing " + FMoviePath + L" at " + std::to_wstring(FOptions.Width) + L"x" +
        std::to_wstring(FOptions.Height) + (opaque ? L", opaque" : L", transparent") + L", " +
        std::to_wstring(FOptions.Frames) + L" frames");

    // The movie is loaded once the skin and volume are set: a video's load hands them on.
    ChangePlugin(FDriver, PluginOf(FOptions.Host), {}, FOptions.Width, FOptions.Height,
                 opaque ? OpaqueBackground : 0u, nullptr,
                 TznPaintEvent::Bind<&TPlaySession::Paint>(this),
                 opaque ? TznEraseBackgroundEvent::Bind<&TPlaySession::EraseBackground>(this)
                        : TznEraseBackgroundEvent(),
                 TznFSCommandEvent::Bind<&TPlaySession::FSCommand>(this),
                 TznFlashCallEvent::Bind<&TPlaySession::FlashCall>(this));

    Say(L"zinplay: through " + HostName(*FDriver));
    if (!FOptions.Skin.empty())
        FDriver->SetSkin(FOptions.Skin);
    if (FOptions.Volume)
        FDriver->SetVolume(*FOptions.Volume);
    FDriver->LoadMovie(FMoviePath);

    TFrameClock clock(*FDriver);
    if (!clock.AwaitMovie(LoadTimeout))
        throw Exception(L"the player could not play " + FMoviePath + L" (is it a movie?)");
    Say(L"movie: " + std::to_wstring(FDriver->GetTotalFrames()) + L" frames");

    // The first picture is the whole buffer, as a control's first paint shows it (the paint
    // events of the load came before there was a picture); they keep it current from then on.
    const auto* bits = FDriver->BufferBits();
    FPicture.assign(bits, bits + static_cast<std::size_t>(FDriver->Width()) * FDriver->Height());

    ShowPicture(1, clock.CurrentFrame());
    CallMovie(L"echo", {L"zinplay is listening"});
    for (int picture = 2; picture <= FOptions.Frames; ++picture)
        ShowPicture(picture, clock.AwaitNextPicture());

    if (FGreeted)
        Say(L"movie variable readyAnswer = " + OrNothing(FDriver->GetVariable(L"readyAnswer")));
    Say(L"zinplay: played " + std::to_wstring(FOptions.Frames) + L" frames");
}

void TPlaySession::ShowPicture(int Picture, int MovieFrame)
{
    std::wstring line = L"frame " + std::to_wstring(Picture) + L": CurrentFrame " +
                        std::to_wstring(MovieFrame) + L", " + std::to_wstring(FPaintedRects) +
                        L" rectangles painted";
    FPaintedRects = 0;
    if (FPngWriter) {
        const std::wstring path = JoinPath(FOptions.PngFolder, FrameFileName(Picture));
        FPngWriter->Write(path, FPicture.data(), FDriver->Width(), FDriver->Height());
        line += L" -> " + path;
    }
    Say(line);
}

void TPlaySession::CallMovie(const std::wstring& Function,
                             const std::vector<std::wstring>& Arguments)
{
    const std::wstring request = BuildInvokeRequest(Function, Arguments);
    Say(L"zinplay -> movie  call    " + request);
    // A movie without that callback answers nothing through the plug-in; the control refuses
    // the call, which is not a reason to stop playing.
    try {
        Say(L"movie -> zinplay  answer  " + OrNothing(FDriver->CallFunction(request)));
    } catch (const Exception& E) {
        Say(L"movie -> zinplay  refused " + E.Message());
    }
}

void TPlaySession::Paint(TObject* ASender, const TRect& ARect)
{
    ++FPaintedRects;
    const auto* driver = static_cast<TznFlashDriver*>(ASender);
    const int width = driver->Width();
    const TznPixelRect rect =
        ClipToBuffer({ARect.Left, ARect.Top, ARect.Right, ARect.Bottom}, width, driver->Height());
    if (!driver->BufferBits() ||
        FPicture.size() != static_cast<std::size_t>(width) * driver->Height())
        return;
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * width;
        MoveLongword(driver->BufferBits() + row + rect.Left, FPicture.data() + row + rect.Left,
                     rect.Right - rect.Left);
    }
}

void TPlaySession::EraseBackground(TObject* ASender, const TRect& ARect)
{
    const auto* driver = static_cast<TznFlashDriver*>(ASender);
    if (driver->BufferBits())
        FillLongwordRect(driver->BufferBits(), driver->Width(), driver->Height(), ARect.Left,
                         ARect.Top, ARect.Right, ARect.Bottom, driver->Background());
}

void TPlaySession::FSCommand(TObject*, const std::wstring& command, const std::wstring& args)
{
    Say(L"movie -> zinplay  FSCommand \"" + command + L"\" \"" + args + L"\"");
}

// The answer must be given before the handler returns: the driver hands it to the movie then.
void TPlaySession::FlashCall(TObject* ASender, const std::wstring& request)
{
    const std::wstring function = InvokedFunctionName(request);
    const std::wstring answer = AnswerTo(function);
    Say(L"movie -> zinplay  call    " + request);
    Say(L"zinplay -> movie  answer  " + answer);
    static_cast<TznFlashDriver*>(ASender)->SetReturnValue(answer);
    if (function == ReadyFunction)
        FGreeted = true;
}

} // namespace zn::zinplay
