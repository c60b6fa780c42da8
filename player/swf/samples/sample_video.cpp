// The sample video: bands, a moving square and a frame counter drawn as cells, so that
// pictures of any frame can be told apart and checked.
#include "sample_video.h"

#include <cmath>

#include "znswf/flv_writer.h"
#include "znswf/screen_video.h"

namespace zn::swf::samples {
namespace {

constexpr int BandWidth = 40, BandRows = 160;
constexpr int SquareSide = 40, SquareTop = 60, SquareStep = 8;
constexpr int CellSide = 40, CellTop = 180, CellLeft = 20, CellBits = 7;
constexpr uint32_t White = 0xFFFFFFFF, Black = 0xFF000000, Grey = 0xFF808080;

void Fill(Image& picture, int left, int top, int width, int height, uint32_t pixel)
{
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            picture.At(x % picture.Width(), y) = pixel;
}

} // namespace

Image SampleVideoPicture(int frame)
{
    Image picture(SampleVideoWidth, SampleVideoHeight, Grey);
    for (int band = 0; band < 8; ++band) {
        const Rgba& color = SampleVideoBands[band];
        Fill(picture, band * BandWidth, 0, BandWidth, BandRows,
             PackPixel(color.red, color.green, color.blue, 255));
    }
    Fill(picture, frame * SquareStep % SampleVideoWidth, SquareTop, SquareSide, SquareSide, White);
    for (int bit = 0; bit < CellBits; ++bit)
        Fill(picture, CellLeft + bit * CellSide, CellTop, CellSide, CellSide,
             (frame >> bit & 1) ? White : Black);
    return picture;
}

int SampleVideoFrameNumber(const Image& picture, double left, double top, double scaleX,
                           double scaleY)
{
    int number = 0;
    for (int bit = 0; bit < CellBits; ++bit) {
        int x = static_cast<int>(
            std::lround(left + (CellLeft + bit * CellSide + CellSide / 2) * scaleX));
        int y = static_cast<int>(std::lround(top + (CellTop + CellSide / 2) * scaleY));
        if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height())
            return -1;
        uint32_t pixel = picture.At(x, y);
        int brightness = (PixelRed(pixel) + PixelGreen(pixel) + PixelBlue(pixel)) / 3;
        if (brightness > 200)
            number |= 1 << bit;
        else if (brightness > 60)
            return -1;
    }
    return number;
}

std::vector<uint8_t> SampleVideo(int frames)
{
    FlvWriter file(false, true);
    FlvMetadata metadata;
    metadata.entries = {
        {"duration", static_cast<double>(frames) / SampleVideoRate},
        {"width", static_cast<double>(SampleVideoWidth)},
        {"height", static_cast<double>(SampleVideoHeight)},
        {"framerate", static_cast<double>(SampleVideoRate)},
        {"videocodecid", static_cast<double>(ScreenVideoCodec)},
        {"canSeekToEnd", false},
    };
    file.Metadata(metadata);
    ScreenVideoEncoder encoder(32, 32);
    for (int frame = 0; frame < frames; ++frame) {
        std::vector<uint8_t> packet =
            encoder.Encode(SampleVideoPicture(frame), frame % SampleVideoKeyInterval == 0);
        file.Video(SampleVideoTimestamp(frame),
                   encoder.LastWasKey() ? VideoFrameType::Key : VideoFrameType::Inter,
                   ScreenVideoCodec, packet);
    }
    return file.Bytes();
}

} // namespace zn::swf::samples
