// A network stream's playback: the reader takes the download, the clock picks the frame that
// is due, the decoder brings the picture up to it from the nearest key frame.
#include "znswf/video_stream.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zn::swf {
namespace {

// The index one past the last frame due at `time`.
size_t FramesDue(const std::vector<VideoFrame>& frames, uint64_t time)
{
    return static_cast<size_t>(
        std::upper_bound(frames.begin(), frames.end(), time,
                         [](uint64_t t, const VideoFrame& frame) { return t < frame.timestamp; }) -
        frames.begin());
}

// The last key frame before `end`, or 0.
size_t KeyFrameBefore(const std::vector<VideoFrame>& frames, size_t end)
{
    for (size_t i = end; i-- > 0;)
        if (frames[i].IsKey())
            return i;
    return 0;
}

} // namespace

void VideoStream::Play()
{
    Drop(State::Buffering);
    Raise(stream_status::PlayStart);
}

void VideoStream::Drop(State next)
{
    reader_ = FlvReader();
    state_ = next;
    paused_ = false;
    time_ = 0;
    bytesTotal_ = 0;
    ended_ = false;
    metadataRaised_ = false;
    unsupportedRaised_ = false;
    decodedFrames_ = 0;
}

void VideoStream::Append(std::span<const uint8_t> bytes)
{
    if (state_ == State::Idle || state_ == State::Failed || ended_)
        return;
    reader_.Append(bytes);
    CheckLoad();
}

void VideoStream::SetBytesTotal(size_t bytes)
{
    if (state_ != State::Idle)
        bytesTotal_ = bytes;
}

void VideoStream::EndOfData()
{
    if (state_ == State::Idle || state_ == State::Failed || ended_)
        return;
    ended_ = true;
    reader_.Finish();
    CheckLoad();
}

void VideoStream::NotFound()
{
    if (state_ == State::Idle || state_ == State::Failed)
        return;
    state_ = State::Failed;
    Raise(stream_status::StreamNotFound, "error");
}

void VideoStream::CheckLoad()
{
    if (reader_.GetState() == FlvReader::State::Failed) {
        state_ = State::Failed;
        Raise(stream_status::FileStructureInvalid, "error");
        return;
    }
    if (!metadataRaised_ && reader_.Stream().metadata) {
        metadataRaised_ = true;
        VideoStreamEvent event;
        event.kind = VideoStreamEvent::Kind::MetaData;
        event.metadata = *reader_.Stream().metadata;
        events_.push_back(std::move(event));
    }
}

bool VideoStream::BufferFilled() const
{
    return reader_.GetState() == FlvReader::State::Complete ||
           reader_.Stream().lastTimestamp >= time_ + bufferMilliseconds_;
}

// The last frame stays as long as the one before it did; in 64 bits, because near the end of
// the timestamps' range the sum would wrap.
uint64_t VideoStream::EndTime() const
{
    const FlvStream& stream = reader_.Stream();
    const std::vector<VideoFrame>& frames = stream.videoFrames;
    uint64_t last_interval =
        frames.size() >= 2 ? frames.back().timestamp - frames[frames.size() - 2].timestamp : 0;
    uint64_t last_frame = frames.empty() ? 0 : frames.back().timestamp;
    return std::max<uint64_t>(stream.lastTimestamp, last_frame + last_interval);
}

bool VideoStream::Advance(unsigned milliseconds)
{
    if (state_ == State::Buffering && BufferFilled()) {
        state_ = State::Playing;
        Raise(stream_status::BufferFull);
        milliseconds = 0; // the clock starts with the next tick
    }
    if (state_ == State::Playing && !paused_) {
        bool complete = reader_.GetState() == FlvReader::State::Complete;
        uint64_t limit = complete ? EndTime() : reader_.Stream().lastTimestamp;
        time_ = std::min<uint64_t>(time_ + milliseconds, limit);
        if (time_ == limit && complete) {
            state_ = State::Stopped;
            Raise(stream_status::PlayStop);
            Raise(stream_status::BufferEmpty);
        } else if (time_ == limit) {
            state_ = State::Buffering;
            Raise(stream_status::BufferEmpty);
        }
    }
    if (state_ == State::Playing || state_ == State::Stopped || state_ == State::Buffering)
        ShowDueFrame();
    bool changed = pictureSerial_ != shownSerial_;
    shownSerial_ = pictureSerial_;
    return changed;
}

void VideoStream::ShowDueFrame()
{
    const std::vector<VideoFrame>& frames = reader_.Stream().videoFrames;
    size_t due = FramesDue(frames, time_);
    if (due == decodedFrames_)
        return;
    size_t first = KeyFrameBefore(frames, due);
    if (due > decodedFrames_ && first < decodedFrames_)
        first = decodedFrames_; // on from the picture already decoded
    for (size_t i = first; i < due; ++i) {
        const VideoFrame& frame = frames[i];
        if (frame.codec != ScreenVideoCodec) {
            if (!unsupportedRaised_) {
                unsupportedRaised_ = true;
                Raise(stream_status::NoSupportedTrackFound, "error");
            }
            continue;
        }
        if (decoder_.Decode(frame.packet, frame.IsKey()) == ScreenVideoDecoder::Result::Decoded)
            ++pictureSerial_;
    }
    decodedFrames_ = due;
}

void VideoStream::Pause()
{
    if (paused_ || (state_ != State::Buffering && state_ != State::Playing))
        return;
    paused_ = true;
    Raise(stream_status::PauseNotify);
}

void VideoStream::Resume()
{
    if (!paused_)
        return;
    paused_ = false;
    Raise(stream_status::UnpauseNotify);
}

void VideoStream::Seek(double seconds)
{
    if (state_ == State::Idle || state_ == State::Failed)
        return;
    const std::vector<VideoFrame>& frames = reader_.Stream().videoFrames;
    double target = std::isfinite(seconds) ? std::max(seconds, 0.0) * 1000.0 : 0.0;
    uint64_t time = static_cast<uint64_t>(std::min<double>(target, reader_.Stream().lastTimestamp));
    size_t due = FramesDue(frames, time);
    if (due > 0)
        time = frames[KeyFrameBefore(frames, due)].timestamp;
    time_ = time;
    if (state_ == State::Stopped)
        state_ = State::Playing;
    Raise(stream_status::SeekNotify);
    ShowDueFrame();
}

void VideoStream::Close()
{
    if (state_ != State::Idle)
        Drop(State::Idle);
}

void VideoStream::SetBufferTime(double seconds)
{
    double milliseconds = std::isfinite(seconds) ? std::clamp(seconds, 0.0, 3600.0) * 1000.0 : 0.0;
    bufferMilliseconds_ = static_cast<uint32_t>(milliseconds);
}

double VideoStream::Time() const
{
    return static_cast<double>(time_) / 1000.0;
}

double VideoStream::Duration() const
{
    const std::optional<FlvMetadata>& metadata = reader_.Stream().metadata;
    std::optional<double> duration = metadata ? metadata->Duration() : std::nullopt;
    return duration && std::isfinite(*duration) && *duration > 0 ? *duration : 0.0;
}

size_t VideoStream::BytesLoaded() const
{
    return reader_.BytesReceived();
}

size_t VideoStream::BytesTotal() const
{
    return std::max(bytesTotal_, reader_.BytesReceived());
}

const Image* VideoStream::Picture() const
{
    return decoder_.Picture().Width() > 0 ? &decoder_.Picture() : nullptr;
}

std::vector<VideoStreamEvent> VideoStream::TakeEvents()
{
    return std::exchange(events_, {});
}

void VideoStream::Raise(const char* code, const char* level)
{
    VideoStreamEvent event;
    event.code = code;
    event.level = level;
    events_.push_back(std::move(event));
}

} // namespace zn::swf
