// Reading a PNG file back through WIC, as straight-alpha BGRA pixels, for checks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zn::test {

struct TStraightImage {
    int Width = 0;
    int Height = 0;
    // 0xAARRGGBB, straight alpha, rows of exactly Width.
    std::vector<std::uint32_t> Pixels;

    std::uint32_t At(int X, int Y) const { return Pixels[static_cast<std::size_t>(Y) * Width + X]; }
};

// Empty (Width 0) when the file cannot be read as an image. Needs COM on the thread.
TStraightImage ReadPng(const std::wstring& Path);

} // namespace zn::test
