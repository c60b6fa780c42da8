// Pixels of the offscreen buffer and the routines that fill and copy runs of them.
//
// A pixel is a 32-bit little-endian word whose bytes, from the lowest address, are blue, green,
// red and alpha (the word reads 0xAARRGGBB). Buffers are top-down, rows of exactly Width pixels,
// so pixel (x, y) is element y * Width + x. A buffer that carries alpha holds premultiplied BGRA:
// each colour channel is already multiplied by the pixel's coverage and never exceeds its alpha.
//
// Plain C++: no Windows header, so the routines can be tested and measured on their own.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zn {

// One pixel seen three ways: its channel bytes (the fields, in memory order), the whole word, and
// two 16-bit halves. HiWord is made of the first two bytes (the numerically low half of Color) and
// LoWord of the last two; the names are the reverse of what they suggest, and the layout, not the
// names, is what callers rely on. The whole word and the halves are read through functions
// because overlaid anonymous views are not standard C++; their values do not depend on the byte
// order of the machine.
struct TznColorRec {
    std::uint8_t B;
    std::uint8_t G;
    std::uint8_t R;
    std::uint8_t A;

    static constexpr TznColorRec FromColor(std::uint32_t Value) noexcept
    {
        return {static_cast<std::uint8_t>(Value), static_cast<std::uint8_t>(Value >> 8),
                static_cast<std::uint8_t>(Value >> 16), static_cast<std::uint8_t>(Value >> 24)};
    }
    constexpr std::uint32_t Color() const noexcept
    {
        return std::uint32_t{B} | std::uint32_t{G} << 8 | std::uint32_t{R} << 16 |
               std::uint32_t{A} << 24;
    }
    constexpr void SetColor(std::uint32_t Value) noexcept { *this = FromColor(Value); }
    constexpr std::uint16_t HiWord() const noexcept
    {
        return static_cast<std::uint16_t>(B | G << 8);
    }
    constexpr std::uint16_t LoWord() const noexcept
    {
        return static_cast<std::uint16_t>(R | A << 8);
    }
};

static_assert(sizeof(TznColorRec) == 4, "a pixel record is exactly one 32-bit word");
static_assert(offsetof(TznColorRec, B) == 0 && offsetof(TznColorRec, G) == 1 &&
                  offsetof(TznColorRec, R) == 2 && offsetof(TznColorRec, A) == 3,
              "channel bytes lie in the order blue, green, red, alpha");
static_assert(TznColorRec::FromColor(0x80FF4020u).HiWord() == 0x4020u &&
                  TznColorRec::FromColor(0x80FF4020u).LoWord() == 0x80FFu,
              "HiWord covers bytes 0-1 and LoWord bytes 2-3");

// One pixel, one pixel record, and a whole buffer indexed as y * Width + x.
using PznColor = std::uint32_t*;
using PznColorRec = TznColorRec*;
using PznColorArray = std::uint32_t*;

// A rectangle of buffer pixels: Left and Top inclusive, Right and Bottom exclusive.
struct TznPixelRect {
    int Left;
    int Top;
    int Right;
    int Bottom;

    constexpr bool IsEmpty() const noexcept { return Right <= Left || Bottom <= Top; }
    constexpr bool operator==(const TznPixelRect&) const noexcept = default;
};

// The part of Rect that lies inside a Width x Height buffer. An empty result keeps Right >= Left
// and Bottom >= Top, so callers that walk rows and columns simply find nothing to do.
constexpr TznPixelRect ClipToBuffer(TznPixelRect Rect, int Width, int Height) noexcept
{
    const auto at_least = [](int value, int bound) { return value < bound ? bound : value; };
    const auto at_most = [](int value, int bound) { return value > bound ? bound : value; };
    TznPixelRect clipped{at_least(Rect.Left, 0), at_least(Rect.Top, 0), at_most(Rect.Right, Width),
                         at_most(Rect.Bottom, Height)};
    clipped.Right = at_least(clipped.Right, clipped.Left);
    clipped.Bottom = at_least(clipped.Bottom, clipped.Top);
    return clipped;
}

// Copies Count 32-bit words from Source to Dest; the ranges may overlap. Count <= 0 copies nothing.
void MoveLongword(const void* Source, void* Dest, int Count) noexcept;

// Stores Value into Count consecutive words from Dest upwards. Count <= 0 stores nothing.
void FillLongword(void* Dest, int Count, std::uint32_t Value) noexcept;

// Fills columns Left..Right-1 of rows Top..Bottom-1 of a Width x Height buffer. The rectangle is
// clipped to the buffer on all four sides, so no rectangle can write outside it.
void FillLongwordRect(void* Dest, int Width, int Height, int Left, int Top, int Right, int Bottom,
                      std::uint32_t Value) noexcept;

// A colour in the framework's 0x00BBGGRR layout (after system colours are resolved) as the
// opaque pixel 0xFFRRGGBB; whatever the top byte of the input held, the alpha byte is 0xFF.
constexpr std::uint32_t ColorToPixel(std::int32_t Color) noexcept
{
    const auto rgb = static_cast<std::uint32_t>(Color);
    const std::uint32_t red = rgb & 0xFFu;
    const std::uint32_t green = (rgb >> 8) & 0xFFu;
    const std::uint32_t blue = (rgb >> 16) & 0xFFu;
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

} // namespace zn
