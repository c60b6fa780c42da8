// Palette .bmp files (see bitmap_file.h).
#include "bitmap_file.h"

#include <algorithm>
#include <stdexcept>

namespace zn::palettegen {

namespace {

void Put(std::vector<std::uint8_t>& Out, std::uint32_t Value, int Bytes)
{
    for (int i = 0; i < Bytes; ++i)
        Out.push_back(static_cast<std::uint8_t>(Value >> (8 * i)));
}

std::uint8_t IndexOf(const std::vector<TRgb>& Palette, TRgb Color)
{
    const auto found = std::find(Palette.begin(), Palette.end(), Color);
    if (found == Palette.end())
        throw std::runtime_error("a colour of the picture is not in its palette");
    return static_cast<std::uint8_t>(found - Palette.begin());
}

} // namespace

std::vector<TRgb> ColorsOf(const TCanvas& Picture)
{
    std::vector<TRgb> colors;
    for (int y = 0; y < Picture.Height(); ++y)
        for (int x = 0; x < Picture.Width(); ++x)
            if (std::find(colors.begin(), colors.end(), Picture.At(x, y)) == colors.end())
                colors.push_back(Picture.At(x, y));
    return colors;
}

std::vector<std::uint8_t> EncodeBitmap(const TCanvas& Picture, const std::vector<TRgb>& Palette,
                                       int BitsPerPixel)
{
    if ((BitsPerPixel != 4 && BitsPerPixel != 8) || Palette.size() > (1u << BitsPerPixel))
        throw std::runtime_error("a palette bitmap has 4 or 8 bits per pixel and colours to fit");
    const std::uint32_t row_bytes = (Picture.Width() * BitsPerPixel + 31) / 32 * 4;
    const std::uint32_t pixels_at = 14 + 40 + 4 * static_cast<std::uint32_t>(Palette.size());
    const std::uint32_t file_size = pixels_at + row_bytes * Picture.Height();

    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put(out, file_size, 4);
    Put(out, 0, 4);
    Put(out, pixels_at, 4);
    Put(out, 40, 4);
    Put(out, Picture.Width(), 4);
    Put(out, Picture.Height(), 4); // positive: the last row comes first
    Put(out, 1, 2);
    Put(out, BitsPerPixel, 2);
    Put(out, 0, 4); // no compression
    Put(out, row_bytes * Picture.Height(), 4);
    Put(out, 2835, 4); // 72 dots per inch
    Put(out, 2835, 4);
    Put(out, static_cast<std::uint32_t>(Palette.size()), 4);
    Put(out, 0, 4);
    for (TRgb color : Palette)
        Put(out, color & 0xFFFFFF, 4); // blue, green, red, reserved
    for (int y = Picture.Height() - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(row_bytes, 0);
        for (int x = 0; x < Picture.Width(); ++x) {
            const std::uint8_t index = IndexOf(Palette, Picture.At(x, y));
            if (BitsPerPixel == 8)
                row[static_cast<std::size_t>(x)] = index;
            else
                row[static_cast<std::size_t>(x / 2)] |= x % 2 ? index : index << 4;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace zn::palettegen
