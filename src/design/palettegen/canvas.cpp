// The palette pictures' shapes (see canvas.h).
#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zn::palettegen {

TRgb Mix(TRgb A, TRgb B, double T)
{
    TRgb result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double a = (A >> shift) & 0xFF;
        const double b = (B >> shift) & 0xFF;
        result |= static_cast<TRgb>(std::lround(a + (b - a) * T)) << shift;
    }
    return result;
}

TCanvas::TCanvas(int Width, int Height, TRgb Background)
    : FWidth(Width), FHeight(Height), FPixels(static_cast<std::size_t>(Width * Height), Background)
{}

void TCanvas::Pixel(int X, int Y, TRgb Color)
{
    if (X >= 0 && Y >= 0 && X < FWidth && Y < FHeight)
        FPixels[static_cast<std::size_t>(Y * FWidth + X)] = Color;
}

void TCanvas::Blend(int X, int Y, TRgb Color, double Coverage)
{
    if (X >= 0 && Y >= 0 && X < FWidth && Y < FHeight)
        Pixel(X, Y, Mix(At(X, Y), Color, std::clamp(Coverage, 0.0, 1.0)));
}

void TCanvas::Fill(int Left, int Top, int Right, int Bottom, TRgb Color)
{
    for (int y = Top; y <= Bottom; ++y)
        for (int x = Left; x <= Right; ++x)
            Pixel(x, y, Color);
}

void TCanvas::Frame(int Left, int Top, int Right, int Bottom, TRgb Color)
{
    Line(Left, Top, Right, Top, Color);
    Line(Left, Bottom, Right, Bottom, Color);
    Line(Left, Top, Left, Bottom, Color);
    Line(Right, Top, Right, Bottom, Color);
}

void TCanvas::DottedFrame(int Left, int Top, int Right, int Bottom, TRgb Color)
{
    for (int x = Left; x <= Right; ++x)
        if ((x - Left) % 2 == 0) {
            Pixel(x, Top, Color);
            Pixel(x, Bottom, Color);
        }
    for (int y = Top; y <= Bottom; ++y)
        if ((y - Top) % 2 == 0) {
            Pixel(Left, y, Color);
            Pixel(Right, y, Color);
        }
}

void TCanvas::Line(int X0, int Y0, int X1, int Y1, TRgb Color)
{
    const int dx = std::abs(X1 - X0);
    const int dy = -std::abs(Y1 - Y0);
    const int step_x = X0 < X1 ? 1 : -1;
    const int step_y = Y0 < Y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        Pixel(X0, Y0, Color);
        if (X0 == X1 && Y0 == Y1)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            X0 += step_x;
        }
        if (twice <= dx) {
            error += dx;
            Y0 += step_y;
        }
    }
}

void TCanvas::VerticalGradient(int Left, int Top, int Right, int Bottom, TRgb TopColor,
                               TRgb BottomColor)
{
    for (int y = Top; y <= Bottom; ++y) {
        const double t = Bottom > Top ? double(y - Top) / (Bottom - Top) : 0.0;
        Fill(Left, y, Right, y, Mix(TopColor, BottomColor, t));
    }
}

void TCanvas::PlayTriangle(int Left, int Top, int Height, TRgb Color)
{
    // Each column is two rows shorter than the one before it, so the point lies at the middle.
    for (int column = 0; 2 * column < Height; ++column)
        Line(Left + column, Top + column, Left + column, Top + Height - 1 - column, Color);
}

void TCanvas::Disc(double CenterX, double CenterY, double Radius, TRgb Color, bool Smooth)
{
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            const double distance = std::hypot(x + 0.5 - CenterX, y + 0.5 - CenterY);
            if (!Smooth) {
                if (distance <= Radius)
                    Pixel(x, y, Color);
            } else if (distance < Radius + 0.5) {
                Blend(x, y, Color, Radius + 0.5 - distance);
            }
        }
}

} // namespace zn::palettegen
