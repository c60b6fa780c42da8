// A 32-bit top-down DIB section selected into its own memory device context, for tests that let
// GDI draw into memory and read the pixels back. Header-only on raw Win32: the reference player's
// suites use it too, and they must not depend on the library's framework.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace zn::test {

class TDibSurface {
public:
    TDibSurface(int Width, int Height, std::uint32_t Background = 0)
        : FWidth(Width), FHeight(Height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = Width;
        info.bmiHeader.biHeight = -Height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        FBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        FDC = CreateCompatibleDC(nullptr);
        if (FBitmap)
            FPrevious = SelectObject(FDC, FBitmap);
        if (!FDC || !FBitmap || !FPrevious) {
            Release();
            throw std::runtime_error("no DIB section in a memory device context");
        }
        FBits = static_cast<std::uint32_t*>(bits);
        Fill(Background);
    }
    ~TDibSurface() { Release(); }
    TDibSurface(const TDibSurface&) = delete;
    TDibSurface& operator=(const TDibSurface&) = delete;

    HDC DC() const { return FDC; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // The pixels as 0xAARRGGBB, row by row from the top. GDI batches its drawing: what it has
    // queued lands first.
    std::uint32_t* Bits() const
    {
        GdiFlush();
        return FBits;
    }
    std::uint32_t At(int X, int Y) const { return Bits()[Y * FWidth + X]; }
    void Fill(std::uint32_t Value) { std::fill_n(Bits(), FWidth * FHeight, Value); }

private:
    void Release()
    {
        if (FPrevious)
            SelectObject(FDC, FPrevious);
        if (FBitmap)
            DeleteObject(FBitmap);
        if (FDC)
            DeleteDC(FDC);
    }

    int FWidth;
    int FHeight;
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FPrevious = nullptr;
    std::uint32_t* FBits = nullptr;
};

} // namespace zn::test
