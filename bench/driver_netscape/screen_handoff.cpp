// Handing a frame to the screen, timed with the messages pumped between rounds, so that each
// round starts with the window system idle.
#include "screen_handoff.h"

#include "bench_clock.h"

#include <vector>

namespace zn::bench {
namespace {

const wchar_t* RegisteredClass()
{
    static const wchar_t* name = [] {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = L"ZintaraHandoffBench";
        RegisterClassW(&window_class);
        return window_class.lpszClassName;
    }();
    return name;
}

HWND ShowPopup(DWORD ExStyle, int Width, int Height)
{
    HWND window =
        CreateWindowExW(ExStyle | WS_EX_TOOLWINDOW, RegisteredClass(), L"", WS_POPUP, 0, 0, Width,
                        Height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

} // namespace

THandoffFigures MeasureScreenHandoff(HDC SourceDC, int Width, int Height, int Rounds)
{
    HWND layered = ShowPopup(WS_EX_LAYERED, Width, Height);
    HWND plain = ShowPopup(0, Width, Height);
    HDC screen = GetDC(nullptr);
    HDC target = GetDC(plain);
    POINT origin{0, 0};
    SIZE size{Width, Height};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

    std::vector<double> layered_times, blit_times;
    for (int round = 0; round < Rounds; ++round) {
        PumpMessages();
        const TStopwatch layered_watch;
        UpdateLayeredWindow(layered, screen, &origin, &size, SourceDC, &origin, 0, &blend,
                            ULW_ALPHA);
        layered_times.push_back(layered_watch.Microseconds());
        PumpMessages();
        const TStopwatch blit_watch;
        BitBlt(target, 0, 0, Width, Height, SourceDC, 0, 0, SRCCOPY);
        GdiFlush();
        blit_times.push_back(blit_watch.Microseconds());
    }
    ReleaseDC(plain, target);
    ReleaseDC(nullptr, screen);
    DestroyWindow(plain);
    DestroyWindow(layered);
    PumpMessages();
    return {Median(layered_times), Median(blit_times)};
}

} // namespace zn::bench
