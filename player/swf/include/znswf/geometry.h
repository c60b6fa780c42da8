// Plain value types of a movie's geometry: colours, rectangles in twips and pixels,
// the fixed-point matrix and colour transform that placements carry.
#pragma once

#include <algorithm>
#include <cstdint>

namespace zn::swf {

inline constexpr int TwipsPerPixel = 20;

struct Rgba {
    uint8_t red = 0, green = 0, blue = 0, alpha = 255;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// Bounds in twips, in the field order the file stores them.
struct TwipsRect {
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    bool Empty() const { return xMax <= xMin || yMax <= yMin; }
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// Pixels of a view or image: left and top inclusive, right and bottom exclusive.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    PixelRect United(const PixelRect& other) const
    {
        if (Empty())
            return other;
        if (other.Empty())
            return *this;
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
    PixelRect Intersected(const PixelRect& other) const
    {
        PixelRect r{std::max(left, other.left), std::max(top, other.top),
                    std::min(right, other.right), std::min(bottom, other.bottom)};
        return r.Empty() ? PixelRect{} : r;
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The file's MATRIX: scale and rotate/skew terms in 16.16 fixed point, translation in twips.
struct Matrix {
    int32_t scaleX = 65536, scaleY = 65536;
    int32_t rotateSkew0 = 0, rotateSkew1 = 0;
    int32_t translateX = 0, translateY = 0;
    friend bool operator==(const Matrix&, const Matrix&) = default;
};

// The file's CXFORM/CXFORMWITHALPHA: multiply terms in 8.8 fixed point, add terms in 0..255 units.
struct ColorTransform {
    int16_t redMultiply = 256, greenMultiply = 256, blueMultiply = 256, alphaMultiply = 256;
    int16_t redAdd = 0, greenAdd = 0, blueAdd = 0, alphaAdd = 0;
    Rgba Apply(Rgba c) const
    {
        auto channel = [](int value, int multiply, int add) {
            return static_cast<uint8_t>(std::clamp(value * multiply / 256 + add, 0, 255));
        };
        return {channel(c.red, redMultiply, redAdd), channel(c.green, greenMultiply, greenAdd),
                channel(c.blue, blueMultiply, blueAdd), channel(c.alpha, alphaMultiply, alphaAdd)};
    }
    friend bool operator==(const ColorTransform&, const ColorTransform&) = default;
};

} // namespace zn::swf
