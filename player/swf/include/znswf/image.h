// Premultiplied 32-bit images: pixels are little-endian words 0xAARRGGBB (bytes blue, green,
// red, alpha), each colour already multiplied by its alpha, rows top-down.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zn::swf {

// A view of pixels someone else owns (an image, a DIB section's bits).
struct ImageView {
    uint32_t* pixels = nullptr;
    int width = 0, height = 0;
    std::ptrdiff_t stride = 0; // in pixels
    uint32_t* Row(int y) const { return pixels + y * stride; }
};

class Image {
public:
    Image() = default;
    Image(int width, int height, uint32_t fill = 0)
        : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0),
          pixels_(static_cast<size_t>(width_) * height_, fill)
    {}
    int Width() const { return width_; }
    int Height() const { return height_; }
    uint32_t At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    uint32_t& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    ImageView View() { return {pixels_.data(), width_, height_, width_}; }
    const std::vector<uint32_t>& Pixels() const { return pixels_; }

private:
    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;
};

inline uint32_t PackPixel(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
{
    return static_cast<uint32_t>(alpha) << 24 | static_cast<uint32_t>(red) << 16 |
           static_cast<uint32_t>(green) << 8 | blue;
}
inline uint8_t PixelAlpha(uint32_t p)
{
    return static_cast<uint8_t>(p >> 24);
}
inline uint8_t PixelRed(uint32_t p)
{
    return static_cast<uint8_t>(p >> 16);
}
inline uint8_t PixelGreen(uint32_t p)
{
    return static_cast<uint8_t>(p >> 8);
}
inline uint8_t PixelBlue(uint32_t p)
{
    return static_cast<uint8_t>(p);
}

} // namespace zn::swf
