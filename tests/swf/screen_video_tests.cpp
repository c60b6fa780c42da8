// Screen video: the block layout against a packet made here by hand, encoder to decoder for
// key and inter frames, and packets the decoder must refuse without touching its picture.
#include <gtest/gtest.h>

#include <zlib.h>

#include "sample_video.h"
#include "test_support.h"
#include "znswf/screen_video.h"

namespace zn::swf {
namespace {

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& bytes)
{
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::vector<uint8_t> out(size);
    compress(out.data(), &size, bytes.data(), static_cast<uLong>(bytes.size()));
    out.resize(size);
    return out;
}

// A 3 x 2 picture in one 16 x 16 block: lines from the bottom up, pixels as blue, green, red.
std::vector<uint8_t> HandMadePacket()
{
    std::vector<uint8_t> lines{
        0,   0,   255, 0, 255, 0, 255, 0,   0,    // bottom line: red, green, blue
        255, 255, 255, 0, 0,   0, 0,   255, 255}; // top line: white, black, yellow
    std::vector<uint8_t> block = Deflate(lines);
    std::vector<uint8_t> packet{0x00, 0x03, 0x00, 0x02, 0, static_cast<uint8_t>(block.size())};
    packet.insert(packet.end(), block.begin(), block.end());
    return packet;
}

TEST(ScreenVideoDecoding, BlocksAndLinesRunFromTheBottomUp)
{
    ScreenVideoDecoder decoder;
    ASSERT_EQ(decoder.Decode(HandMadePacket(), true), ScreenVideoDecoder::Result::Decoded);
    const Image& picture = decoder.Picture();
    ASSERT_EQ(picture.Width(), 3);
    ASSERT_EQ(picture.Height(), 2);
    EXPECT_EQ(picture.At(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(picture.At(1, 0), 0xFF000000u);
    EXPECT_EQ(picture.At(2, 0), 0xFFFFFF00u);
    EXPECT_EQ(picture.At(0, 1), 0xFFFF0000u);
    EXPECT_EQ(picture.At(1, 1), 0xFF00FF00u);
    EXPECT_EQ(picture.At(2, 1), 0xFF0000FFu);
}

TEST(ScreenVideoDecoding, EncoderWritesTheSameLayout)
{
    ScreenVideoDecoder decoder;
    decoder.Decode(HandMadePacket(), true);
    ScreenVideoEncoder encoder(16, 16);
    std::vector<uint8_t> packet = encoder.Encode(decoder.Picture(), true);
    ASSERT_GE(packet.size(), 6u);
    EXPECT_EQ(std::vector<uint8_t>(packet.begin(), packet.begin() + 4),
              (std::vector<uint8_t>{0x00, 0x03, 0x00, 0x02}));
    ScreenVideoDecoder again;
    ASSERT_EQ(again.Decode(packet, true), ScreenVideoDecoder::Result::Decoded);
    EXPECT_EQ(again.Picture().Pixels(), decoder.Picture().Pixels());
}

TEST(ScreenVideoRoundTrip, KeyAndInterFramesDecodeToTheEncodedPictures)
{
    ScreenVideoEncoder encoder(48, 32); // blocks that do not divide the picture
    ScreenVideoDecoder decoder;
    for (int frame = 0; frame < 30; ++frame) {
        Image picture = samples::SampleVideoPicture(frame);
        std::vector<uint8_t> packet = encoder.Encode(picture, frame % 10 == 0);
        EXPECT_EQ(encoder.LastWasKey(), frame % 10 == 0);
        ASSERT_EQ(decoder.Decode(packet, encoder.LastWasKey()),
                  ScreenVideoDecoder::Result::Decoded);
        ASSERT_EQ(decoder.Picture().Pixels(), picture.Pixels()) << "frame " << frame;
        EXPECT_EQ(samples::SampleVideoFrameNumber(decoder.Picture()), frame);
    }
    test::WritePng("screen_video_frame29.png", decoder.Picture());
}

TEST(ScreenVideoRoundTrip, AnInterFrameCarriesOnlyTheChangedBlocks)
{
    ScreenVideoEncoder encoder(32, 32);
    Image picture(320, 240, 0xFF336699);
    encoder.Encode(picture, true);
    std::vector<uint8_t> unchanged = encoder.Encode(picture, false);
    EXPECT_EQ(unchanged.size(), 4u + 2u * 10 * 8); // the header and an empty size per block
    picture.At(319, 239) = 0xFFFFFFFF;             // the bottom row's last block, the tenth
    std::vector<uint8_t> one = encoder.Encode(picture, false);
    EXPECT_EQ(std::vector<uint8_t>(one.begin() + 4, one.begin() + 4 + 2 * 9),
              std::vector<uint8_t>(2 * 9, 0));
    size_t tenth = static_cast<size_t>(one[4 + 2 * 9] << 8 | one[5 + 2 * 9]);
    EXPECT_GT(tenth, 0u);
    EXPECT_EQ(one.size(), unchanged.size() + tenth);
}

TEST(ScreenVideoRefusals, BadPacketsLeaveThePictureAsItWas)
{
    ScreenVideoDecoder decoder;
    std::vector<uint8_t> packet = HandMadePacket();
    EXPECT_EQ(decoder.Decode(packet, false), ScreenVideoDecoder::Result::NeedsKeyFrame);
    ASSERT_EQ(decoder.Decode(packet, true), ScreenVideoDecoder::Result::Decoded);
    std::vector<uint32_t> before = decoder.Picture().Pixels();

    std::vector<uint8_t> damaged = packet;
    damaged.back() ^= 0xFF; // the zlib check fails
    std::vector<uint8_t> short_block = packet;
    short_block[5] = 200; // the block's size runs past the packet
    std::vector<uint8_t> empty_key{0x00, 0x03, 0x00, 0x02, 0, 0};
    std::vector<uint8_t> zero_size{0x00, 0x00, 0x00, 0x02};
    std::vector<uint8_t> short_lines{0x00, 0x03, 0x00, 0x02};
    std::vector<uint8_t> lines = Deflate(std::vector<uint8_t>(17, 9)); // one byte short
    short_lines.insert(short_lines.end(), {0, static_cast<uint8_t>(lines.size())});
    short_lines.insert(short_lines.end(), lines.begin(), lines.end());
    for (const auto& bad : {damaged, short_block, empty_key, zero_size, short_lines}) {
        EXPECT_EQ(decoder.Decode(bad, true), ScreenVideoDecoder::Result::Malformed);
        EXPECT_EQ(decoder.Picture().Pixels(), before);
    }
    std::vector<uint8_t> other_size = packet;
    other_size[1] = 4;
    EXPECT_EQ(decoder.Decode(other_size, false), ScreenVideoDecoder::Result::NeedsKeyFrame);
    EXPECT_EQ(decoder.Picture().Pixels(), before);
}

} // namespace
} // namespace zn::swf
