// Video files, writer to reader: the header, every kind of tag, the metadata, timestamps, and
// the same file arriving in pieces; then files whose sizes and offsets lie.
#include <gtest/gtest.h>

#include "sample_video.h"
#include "znswf/flv.h"
#include "znswf/flv_writer.h"

namespace zn::swf {
namespace {

FlvMetadata MixedMetadata()
{
    FlvMetadata metadata;
    metadata.entries = {{"duration", 2.5},   {"width", 64.0},  {"height", 48.0},
                        {"framerate", 12.0}, {"stereo", true}, {"encoder", std::string("zn")}};
    return metadata;
}

std::vector<uint8_t> MixedFile()
{
    FlvWriter file(true, true);
    file.Metadata(MixedMetadata());
    file.Video(0, VideoFrameType::Key, ScreenVideoCodec, std::vector<uint8_t>{1, 2, 3});
    file.Audio(10, std::vector<uint8_t>{0x2A, 9, 9});
    file.Tag(7, 20, std::vector<uint8_t>{5});
    file.Video(0x01020304, VideoFrameType::Inter, 2, std::vector<uint8_t>{4});
    file.Video(40, VideoFrameType::Command, ScreenVideoCodec, std::vector<uint8_t>{0});
    return file.Bytes();
}

void ExpectMixed(const FlvStream& stream)
{
    EXPECT_TRUE(stream.header.hasAudio);
    EXPECT_TRUE(stream.header.hasVideo);
    ASSERT_TRUE(stream.metadata);
    EXPECT_EQ(stream.metadata->entries, MixedMetadata().entries);
    EXPECT_EQ(stream.metadata->Duration(), 2.5);
    EXPECT_EQ(stream.metadata->FrameRate(), 12.0);
    EXPECT_FALSE(stream.metadata->Number("encoder")); // a string, not a number
    ASSERT_EQ(stream.videoFrames.size(), 2u);         // the command frame is no picture
    EXPECT_TRUE(stream.videoFrames[0].IsKey());
    EXPECT_EQ(stream.videoFrames[0].codec, ScreenVideoCodec);
    EXPECT_EQ(stream.videoFrames[0].packet, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(stream.videoFrames[1].IsKey());
    EXPECT_EQ(stream.videoFrames[1].codec, 2);
    EXPECT_EQ(stream.videoFrames[1].timestamp, 0x01020304u); // with the extended byte
    EXPECT_EQ(stream.audioTags, 1u);
    EXPECT_EQ(stream.skippedTagTypes, std::vector<uint8_t>{7});
}

TEST(FlvRoundTrip, EveryTagComesBackAsWritten)
{
    std::optional<FlvStream> stream = ReadFlv(MixedFile());
    ASSERT_TRUE(stream);
    ExpectMixed(*stream);
    EXPECT_FALSE(stream->truncated);
}

TEST(FlvRoundTrip, ByteByByteGivesTheSameAndFramesAsSoonAsComplete)
{
    FlvWriter first(false, true);
    first.Video(0, VideoFrameType::Key, ScreenVideoCodec, std::vector<uint8_t>{1, 2, 3});
    size_t first_tag_end = first.Bytes().size() - 4; // before its back pointer

    std::vector<uint8_t> bytes = MixedFile();
    FlvReader reader;
    for (size_t i = 0; i < bytes.size(); ++i)
        reader.Append(std::span(bytes).subspan(i, 1));
    reader.Finish();
    EXPECT_EQ(reader.GetState(), FlvReader::State::Complete);
    EXPECT_EQ(reader.BytesReceived(), bytes.size());
    ExpectMixed(reader.Stream());

    std::vector<uint8_t> video = first.Bytes();
    FlvReader partial;
    partial.Append(std::span(video).first(first_tag_end - 1));
    EXPECT_TRUE(partial.Stream().videoFrames.empty());
    partial.Append(std::span(video).subspan(first_tag_end - 1, 1));
    EXPECT_EQ(partial.Stream().videoFrames.size(), 1u);
}

TEST(FlvRoundTrip, SampleVideoCarriesItsMetadataAndKeyFrames)
{
    std::optional<FlvStream> stream = ReadFlv(samples::SampleVideo());
    ASSERT_TRUE(stream);
    ASSERT_TRUE(stream->metadata);
    EXPECT_EQ(stream->metadata->Duration(), 10.0);
    EXPECT_EQ(stream->metadata->Width(), 320.0);
    EXPECT_EQ(stream->metadata->Height(), 240.0);
    ASSERT_EQ(stream->videoFrames.size(), 120u);
    for (size_t i = 0; i < stream->videoFrames.size(); ++i) {
        EXPECT_EQ(stream->videoFrames[i].IsKey(), i % 24 == 0) << i;
        EXPECT_EQ(stream->videoFrames[i].timestamp,
                  samples::SampleVideoTimestamp(static_cast<int>(i)));
    }
}

// Script data from bytes written here by hand.
std::vector<uint8_t> ScriptTagFile(std::vector<uint8_t> body)
{
    FlvWriter file(false, true);
    file.Tag(18, 0, body);
    return file.Bytes();
}

void Name(std::vector<uint8_t>& out, const std::string& name)
{
    out.push_back(static_cast<uint8_t>(name.size() >> 8));
    out.push_back(static_cast<uint8_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
}

TEST(FlvMetadataReading, NestedValuesAreReadThroughAndLeftOut)
{
    std::vector<uint8_t> body{2};
    Name(body, "onMetaData");
    body.push_back(3); // an object
    Name(body, "keyframes");
    body.push_back(3);
    Name(body, "times");
    body.insert(body.end(), {10, 0, 0, 0, 2, 0, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0, 5}); // [1, null]
    body.insert(body.end(), {0, 0, 9});
    Name(body, "created");
    body.insert(body.end(), {11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    Name(body, "height");
    body.insert(body.end(), {0, 0x40, 0x5E, 0, 0, 0, 0, 0, 0}); // 120
    // No end marker: the tag ends where it should be.
    std::optional<FlvStream> stream = ReadFlv(ScriptTagFile(body));
    ASSERT_TRUE(stream && stream->metadata);
    ASSERT_EQ(stream->metadata->entries.size(), 1u);
    EXPECT_EQ(stream->metadata->Height(), 120.0);
}

TEST(FlvMetadataReading, HostileOrForeignScriptTagsGiveNoMetadata)
{
    std::vector<uint8_t> deep{2};
    Name(deep, "onMetaData");
    deep.push_back(3);
    for (int i = 0; i < 5000; ++i) {
        Name(deep, "a");
        deep.push_back(3);
    }
    std::vector<uint8_t> other{2};
    Name(other, "onCuePoint");
    other.push_back(3);
    Name(other, "width");
    other.insert(other.end(), {0, 0x40, 0x5E, 0, 0, 0, 0, 0, 0, 0, 0, 9});
    std::vector<uint8_t> lying_string{2};
    Name(lying_string, "onMetaData");
    lying_string.insert(lying_string.end(), {8, 0, 0, 0, 1, 0, 1, 'w', 2, 0xFF, 0xFF, 'x'});
    for (const auto& body : {deep, other, lying_string}) {
        std::optional<FlvStream> stream = ReadFlv(ScriptTagFile(body));
        ASSERT_TRUE(stream);
        EXPECT_FALSE(stream->metadata);
    }
}

TEST(FlvLyingFiles, ATagLongerThanTheFileIsDroppedAndWhatCameBeforeKept)
{
    FlvWriter file(false, true);
    file.Video(0, VideoFrameType::Key, ScreenVideoCodec, std::vector<uint8_t>{1});
    file.Video(100, VideoFrameType::Inter, ScreenVideoCodec, std::vector<uint8_t>{2, 2});
    std::vector<uint8_t> bytes = file.Bytes();
    size_t second_size_field = 9 + 4 + 11 + 2 + 4 + 1;
    bytes[second_size_field] = 0xFF; // claims about 16 MB
    FlvReader reader;
    reader.Append(bytes);
    EXPECT_EQ(reader.GetState(), FlvReader::State::Reading); // waiting for the rest
    reader.Finish();
    EXPECT_EQ(reader.GetState(), FlvReader::State::Complete);
    ASSERT_EQ(reader.Stream().videoFrames.size(), 1u);
    EXPECT_EQ(reader.Stream().videoFrames[0].packet, std::vector<uint8_t>{1});
}

TEST(FlvLyingFiles, HeaderOffsetsAndTimestampsThatLie)
{
    FlvWriter file(false, true);
    file.Video(500, VideoFrameType::Key, ScreenVideoCodec, std::vector<uint8_t>{1});
    file.Video(200, VideoFrameType::Inter, ScreenVideoCodec, std::vector<uint8_t>{2});
    std::vector<uint8_t> bytes = file.Bytes();

    bytes[8] = 0; // a data offset inside the header is overruled by the tags' framing
    std::optional<FlvStream> inside = ReadFlv(bytes);
    ASSERT_TRUE(inside);
    ASSERT_EQ(inside->videoFrames.size(), 2u);
    // The second frame's time stepped back; frames stay in order for playback.
    EXPECT_EQ(inside->videoFrames[1].timestamp, 500u);
    EXPECT_EQ(inside->lastTimestamp, 500u);

    bytes[5] = 0x7F; // an offset past the end: everything is padding
    std::optional<FlvStream> beyond = ReadFlv(bytes);
    ASSERT_TRUE(beyond);
    EXPECT_TRUE(beyond->videoFrames.empty());

    EXPECT_FALSE(ReadFlv(std::vector<uint8_t>{'F', 'W', 'S', 8, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(ReadFlv(std::vector<uint8_t>{'F', 'L', 'V'})); // ends inside the header
}

TEST(FlvLyingFiles, EveryPrefixOfTheSampleReadsAPrefixOfItsFrames)
{
    std::vector<uint8_t> bytes = samples::SampleVideo();
    std::optional<FlvStream> whole = ReadFlv(bytes);
    ASSERT_TRUE(whole);
    size_t previous = 0;
    for (size_t length = 9; length <= bytes.size(); length += 97) {
        std::optional<FlvStream> part = ReadFlv(std::span(bytes).first(length));
        ASSERT_TRUE(part);
        ASSERT_GE(part->videoFrames.size(), previous);
        previous = part->videoFrames.size();
        if (previous > 0) {
            EXPECT_EQ(part->videoFrames.back().packet, whole->videoFrames[previous - 1].packet);
        }
    }
}

} // namespace
} // namespace zn::swf
