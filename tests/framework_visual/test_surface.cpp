// The read-back surface and the message pump the window tests share.
#include "test_surface.h"

#include <stdexcept>

namespace zn::test {

TTestSurface::TTestSurface(int Width, int Height) : FWidth(Width), FHeight(Height) {
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
    Info.bmiHeader.biWidth = Width;
    Info.bmiHeader.biHeight = -Height;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    Info.bmiHeader.biCompression = BI_RGB;
    void* Bits = nullptr;
    FBitmap.reset(CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
    FDC.reset(CreateCompatibleDC(nullptr));
    if (!FBitmap || !FDC) throw std::runtime_error("no DIB section");
    FBits = static_cast<std::uint32_t*>(Bits);
    FSelection = SelectInto(FDC.get(), FBitmap.get());
}

void TTestSurface::Fill(std::uint32_t Value) {
    GdiFlush();
    for (int I = 0; I < FWidth * FHeight; ++I) FBits[I] = Value;
}

void TTestSurface::CopyFromWindow(HWND Window, int X, int Y) {
    const TWindowDC Source = WindowDC(Window);
    BitBlt(FDC.get(), 0, 0, FWidth, FHeight, Source.get().Value, X, Y, SRCCOPY);
    GdiFlush();
}

void PumpMessages() {
    MSG Message;
    while (PeekMessageW(&Message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&Message);
        DispatchMessageW(&Message);
    }
}

} // namespace zn::test
