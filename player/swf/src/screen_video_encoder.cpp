// Encodes pictures as screen video packets, the mirror of the decoder.
#include <zlib.h>

#include <algorithm>

#include "byte_writer.h"
#include "screen_video_blocks.h"
#include "znswf/screen_video.h"

namespace zn::swf {
namespace {

constexpr int MaximumSide = 4095;

// A block's compressed size is a 16-bit field: 128 x 128 pixels stay under it even when
// they do not compress at all.
int BlockSide(int pixels)
{
    return std::clamp((pixels + 8) / 16, 1, 8) * 16;
}

// The block's pixels as the file stores them: BGR, lines from the bottom up.
std::vector<uint8_t> BlockLines(const Image& picture, const BlockGrid& grid, int column, int row)
{
    std::vector<uint8_t> lines;
    lines.reserve(static_cast<size_t>(grid.Width(column)) * grid.Height(row) * 3);
    for (int line = 0; line < grid.Height(row); ++line) {
        int y = grid.PictureRow(row, line);
        for (int x = grid.Left(column); x < grid.Left(column) + grid.Width(column); ++x) {
            uint32_t pixel = picture.At(x, y);
            lines.insert(lines.end(), {PixelBlue(pixel), PixelGreen(pixel), PixelRed(pixel)});
        }
    }
    return lines;
}

} // namespace

ScreenVideoEncoder::ScreenVideoEncoder(int blockWidth, int blockHeight)
    : blockWidth_(BlockSide(blockWidth)), blockHeight_(BlockSide(blockHeight))
{}

std::vector<uint8_t> ScreenVideoEncoder::Encode(const Image& picture, bool keyFrame)
{
    BlockGrid grid{std::min(picture.Width(), MaximumSide), std::min(picture.Height(), MaximumSide),
                   blockWidth_, blockHeight_};
    keyFrame = keyFrame || previous_.Width() != grid.width || previous_.Height() != grid.height;
    ByteWriter out;
    out.Bits(static_cast<uint32_t>(blockWidth_ / 16 - 1), 4);
    out.Bits(static_cast<uint32_t>(grid.width), 12);
    out.Bits(static_cast<uint32_t>(blockHeight_ / 16 - 1), 4);
    out.Bits(static_cast<uint32_t>(grid.height), 12);
    for (int row = 0; row < grid.Rows(); ++row)
        for (int column = 0; column < grid.Columns(); ++column) {
            std::vector<uint8_t> lines = BlockLines(picture, grid, column, row);
            if (!keyFrame && lines == BlockLines(previous_, grid, column, row)) {
                out.BigU16(0);
                continue;
            }
            uLongf size = compressBound(static_cast<uLong>(lines.size()));
            std::vector<uint8_t> compressed(size);
            compress2(compressed.data(), &size, lines.data(), static_cast<uLong>(lines.size()),
                      Z_BEST_COMPRESSION);
            out.BigU16(static_cast<uint16_t>(size));
            out.Bytes(compressed.data(), size);
        }
    previous_ = picture;
    lastWasKey_ = keyFrame;
    return out.Take();
}

} // namespace zn::swf
