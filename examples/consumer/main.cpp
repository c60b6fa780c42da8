// consumer: plays a movie in a player without a window and tells how much of its picture the
// movie covered; then checks that the design unit brought its palette bitmaps. It uses only what
// an installed Zintara provides.
//
//   consumer MOVIE
//
// Exit status: 0 the movie played and drew, 1 it did not (or a bitmap is missing), 2 no movie
// was named.
#include "zintara/framework/palette_bitmaps.h"
#include "zintara/zn_flashplayer.h"
#include "zintara/zn_flashreg.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace {

constexpr int Width = 320, Height = 240;
constexpr DWORD LoadTimeout = 10000;

void DispatchPending()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The player loads the movie through messages of its own; false when no frame arrived in time.
bool AwaitMovie(zn::TznFlashPlayerComp& Player)
{
    const DWORD start = GetTickCount();
    while (Player.TotalFrames() == 0) {
        if (GetTickCount() - start >= LoadTimeout)
            return false;
        MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        DispatchPending();
    }
    return true;
}

// Pixels with any coverage: the buffer is premultiplied, so an untouched pixel is 0.
int CoveredPixels(const zn::TznFlashPlayerComp& Player)
{
    int covered = 0;
    for (int row = 0; row < Height; ++row) {
        const auto* pixels = static_cast<const std::uint32_t*>(Player.Scanline(row));
        for (int x = 0; pixels && x < Width; ++x)
            covered += pixels[x] >> 24 != 0;
    }
    return covered;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fputs("usage: consumer MOVIE\n", stderr);
        return 2;
    }
    if (!zn::NetscapeFlashDriverClass.PluginExists()) {
        std::fputs("consumer: no Flash Player: place npswf32.dll beside consumer.exe\n", stderr);
        return 1;
    }
    zn::TznFlashPlayerComp player(nullptr);
    player.SetPlugin(zn::znNetscape);
    player.SetWidth(Width);
    player.SetHeight(Height);
    player.SetMovie(argv[1]);
    if (!AwaitMovie(player)) {
        std::fputs("consumer: the player did not play the movie\n", stderr);
        return 1;
    }
    const int covered = CoveredPixels(player);
    std::printf("consumer: %d frames, %d of %d pixels covered\n", player.TotalFrames(), covered,
                Width * Height);
    if (covered == 0)
        return 1;
    zn::Register();
    for (const zn::TClassInfo* each : zn::PalettePages().front().Classes)
        if (!zn::LoadPaletteBitmap(*each)) {
            std::fprintf(stderr, "consumer: no palette bitmap for %ls\n", each->Name);
            return 1;
        }
    return 0;
}
