// The read-back surface and the message pump the window tests share.
#include "test_surface.h"

#include <stdexcept>

namespace zn::test {

TTestSurface::TTestSurface(int Width, int Height) : FWidth(Width), FHeight(Height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = -Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FBitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    FDC.reset(CreateCompatibleDC(nullptr));
    if (!FBitmap || !FDC)
        throw std::runtime_error("no DIB section");
    FBits = static_cast<std::uint32_t*>(bits);
    FSelection = SelectInto(FDC.get(), FBitmap.get());
}

void TTestSurface::Fill(std::uint32_t Value)
{
    GdiFlush();
    for (int i = 0; i < FWidth * FHeight; ++i)
        FBits[i] = Value;
}

void TTestSurface::CopyFromWindow(HWND Window, int X, int Y)
{
    const TWindowDC source = WindowDC(Window);
    BitBlt(FDC.get(), 0, 0, FWidth, FHeight, source.get().Value, X, Y, SRCCOPY);
    GdiFlush();
}

} // namespace zn::test
