// A video file from any bytes: read whole with every frame decoded in order, then played by
// a stream as a download in three pieces, with pauses, seeks and a close along the way.
#include "znswf/flv.h"
#include "znswf/screen_video.h"
#include "znswf/video_stream.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

constexpr unsigned Tick = 83;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::span<const std::uint8_t> bytes(Data, Size);
    if (std::optional<zn::swf::FlvStream> file = zn::swf::ReadFlv(bytes)) {
        zn::swf::ScreenVideoDecoder decoder;
        for (const zn::swf::VideoFrame& frame : file->videoFrames)
            if (frame.codec == zn::swf::ScreenVideoCodec)
                decoder.Decode(frame.packet, frame.IsKey());
    }

    zn::swf::VideoStream stream;
    stream.Play();
    stream.SetBytesTotal(Size);
    stream.Append(bytes.first(Size / 3));
    stream.Advance(Tick);
    stream.Advance(Tick);
    stream.Pause();
    stream.Append(bytes.subspan(Size / 3, Size / 3));
    stream.Seek(0.5);
    stream.Resume();
    stream.Advance(Tick);
    stream.Append(bytes.subspan(2 * (Size / 3)));
    stream.EndOfData();
    for (int tick = 0; tick < 8; ++tick)
        stream.Advance(Tick * 4);
    stream.Seek(stream.Duration() / 2);
    stream.Advance(Tick);
    stream.TakeEvents();
    stream.Close();
    stream.Advance(Tick);
    return 0;
}
