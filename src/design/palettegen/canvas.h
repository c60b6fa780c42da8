// A small RGB picture and the few shapes the palette pictures are drawn with.
#pragma once

#include <cstdint>
#include <vector>

namespace zn::palettegen {

// 0x00RRGGBB.
using TRgb = std::uint32_t;

// The colour (a + (b - a) * T), T from 0 to 1.
TRgb Mix(TRgb A, TRgb B, double T);

class TCanvas {
public:
    TCanvas(int Width, int Height, TRgb Background);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TRgb At(int X, int Y) const { return FPixels[static_cast<std::size_t>(Y * FWidth + X)]; }

    // Every shape clips to the picture. Rectangles are given by their inclusive corners.
    void Pixel(int X, int Y, TRgb Color);
    // Covers the pixel with Color at Coverage (0..1) over what it shows.
    void Blend(int X, int Y, TRgb Color, double Coverage);
    void Fill(int Left, int Top, int Right, int Bottom, TRgb Color);
    void Frame(int Left, int Top, int Right, int Bottom, TRgb Color);
    // A frame of alternate pixels, as a control without a window is outlined in a designer.
    void DottedFrame(int Left, int Top, int Right, int Bottom, TRgb Color);
    void Line(int X0, int Y0, int X1, int Y1, TRgb Color);
    // Top to bottom, each row from its colour between Top and Bottom colours.
    void VerticalGradient(int Left, int Top, int Right, int Bottom, TRgb TopColor,
                          TRgb BottomColor);
    // A play button: a right-pointing triangle with its left edge from (Left, Top) to
    // (Left, Top + Height - 1).
    void PlayTriangle(int Left, int Top, int Height, TRgb Color);
    // A disc around (CenterX, CenterY); with Smooth the rim is blended over what lies below.
    void Disc(double CenterX, double CenterY, double Radius, TRgb Color, bool Smooth);

private:
    int FWidth;
    int FHeight;
    std::vector<TRgb> FPixels;
};

} // namespace zn::palettegen
