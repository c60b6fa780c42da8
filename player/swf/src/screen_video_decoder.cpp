// Decodes screen video packets. The block table is walked and checked before any block is
// inflated, and a frame is decoded into a copy that replaces the picture only when every
// block was sound.
#include <zlib.h>

#include <vector>

#include "byte_reader.h"
#include "screen_video_blocks.h"
#include "znswf/screen_video.h"

namespace zn::swf {
namespace {

struct BlockData {
    const uint8_t* bytes;
    size_t size; // 0: unchanged since the frame before
};

bool InflateBlock(const BlockData& block, const BlockGrid& grid, int column, int row,
                  std::vector<uint8_t>& lines, Image& picture)
{
    int width = grid.Width(column), height = grid.Height(row);
    size_t expected = static_cast<size_t>(width) * height * 3;
    lines.resize(expected);
    uLongf produced = static_cast<uLongf>(expected);
    if (uncompress(lines.data(), &produced, block.bytes, static_cast<uLong>(block.size)) != Z_OK ||
        produced != expected)
        return false;
    const uint8_t* pixel = lines.data();
    for (int line = 0; line < height; ++line) {
        int y = grid.PictureRow(row, line);
        for (int x = grid.Left(column); x < grid.Left(column) + width; ++x, pixel += 3)
            picture.At(x, y) = PackPixel(pixel[2], pixel[1], pixel[0], 255);
    }
    return true;
}

} // namespace

ScreenVideoDecoder::Result ScreenVideoDecoder::Decode(std::span<const uint8_t> packet,
                                                      bool keyFrame)
{
    ByteReader in(packet.data(), packet.size());
    BlockGrid grid{};
    grid.blockWidth = (static_cast<int>(in.Bits(4)) + 1) * 16;
    grid.width = static_cast<int>(in.Bits(12));
    grid.blockHeight = (static_cast<int>(in.Bits(4)) + 1) * 16;
    grid.height = static_cast<int>(in.Bits(12));
    if (in.Failed() || grid.width == 0 || grid.height == 0)
        return Result::Malformed;
    if (!keyFrame && (picture_.Width() != grid.width || picture_.Height() != grid.height))
        return Result::NeedsKeyFrame;

    std::vector<BlockData> blocks(static_cast<size_t>(grid.Columns()) * grid.Rows());
    for (BlockData& block : blocks) {
        block.size = in.BigU16();
        block.bytes = in.Current();
        in.Skip(block.size);
        if (in.Failed() || (keyFrame && block.size == 0))
            return Result::Malformed;
    }

    Image decoded = keyFrame ? Image(grid.width, grid.height) : picture_;
    std::vector<uint8_t> lines;
    size_t index = 0;
    for (int row = 0; row < grid.Rows(); ++row)
        for (int column = 0; column < grid.Columns(); ++column) {
            const BlockData& block = blocks[index++];
            if (block.size > 0 && !InflateBlock(block, grid, column, row, lines, decoded))
                return Result::Malformed;
        }
    picture_ = std::move(decoded);
    return Result::Decoded;
}

} // namespace zn::swf
