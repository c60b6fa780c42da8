// Shared test helpers: colours, renderings, a PNG writer.
#include "test_support.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>

using namespace zn::swf;

namespace zn::test {

Color ColorAt(const Image& image, int x, int y)
{
    uint32_t p = image.At(x, y);
    return {PixelRed(p), PixelGreen(p), PixelBlue(p), PixelAlpha(p)};
}

bool Near(Color a, Color e, int tolerance)
{
    return std::abs(a.red - e.red) <= tolerance && std::abs(a.green - e.green) <= tolerance &&
           std::abs(a.blue - e.blue) <= tolerance && std::abs(a.alpha - e.alpha) <= tolerance;
}

std::string Describe(Color c)
{
    char text[64];
    std::snprintf(text, sizeof text, "(r%d g%d b%d a%d)", c.red, c.green, c.blue, c.alpha);
    return text;
}

Image RenderView(const MoviePlayer& player, int width, int height, bool opaque)
{
    Image image(width, height);
    RenderOptions options;
    options.opaqueBackground = opaque;
    player.Render(image.View(), options);
    return image;
}

Image Over(const Image& image, Rgba background)
{
    Image out(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            uint32_t p = image.At(x, y);
            int inverse = 255 - PixelAlpha(p);
            auto channel = [&](int source, int back) {
                return static_cast<uint8_t>(source + (back * inverse + 127) / 255);
            };
            out.At(x, y) = PackPixel(channel(PixelRed(p), background.red),
                                     channel(PixelGreen(p), background.green),
                                     channel(PixelBlue(p), background.blue), 255);
        }
    }
    return out;
}

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutU32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32(out, static_cast<uint32_t>(
                    crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

} // namespace

bool WritePng(const std::string& path, const Image& image)
{
    std::vector<uint8_t> raw;
    for (int y = 0; y < image.Height(); ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.Width(); ++x) {
            uint32_t p = image.At(x, y);
            int alpha = PixelAlpha(p);
            auto straight = [&](int c) {
                return static_cast<uint8_t>(alpha ? std::min(255, c * 255 / alpha) : 0);
            };
            raw.insert(raw.end(), {straight(PixelRed(p)), straight(PixelGreen(p)),
                                   straight(PixelBlue(p)), static_cast<uint8_t>(alpha)});
        }
    }
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packed_size);
    compress(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(packed_size);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutU32(header, static_cast<uint32_t>(image.Width()));
    PutU32(header, static_cast<uint32_t>(image.Height()));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", {});
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace zn::test
