// The playback of one video file by a network stream, apart from any script machine: fed the
// file's bytes as a download delivers them and advanced by the player's frame clock, it says
// which picture to show, how far playback and the download are, and which status events a
// script's onStatus and onMetaData handlers receive.
//
//   VideoStream stream;
//   stream.Play();                            // the script called play(url); ask the host
//   stream.SetBytesTotal(n);                  // when the host knows the length
//   stream.Append(bytes) ... stream.EndOfData();   // or stream.NotFound()
//   every frame interval: if (stream.Advance(milliseconds)) repaint from stream.Picture()
//   for (const VideoStreamEvent& event : stream.TakeEvents()) ... onStatus / onMetaData
//
// Time is the stream's own: it starts when the buffer is first full, stands still while
// paused or waiting for bytes, and a picture is shown once its timestamp has been reached.
// Only screen video is decoded; a video of another codec plays on without pictures after a
// NoSupportedTrackFound event.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "znswf/flv.h"
#include "znswf/image.h"
#include "znswf/screen_video.h"

namespace zn::swf {

// The status codes, as scripts compare them.
namespace stream_status {
inline constexpr const char* PlayStart = "NetStream.Play.Start";
inline constexpr const char* PlayStop = "NetStream.Play.Stop";
inline constexpr const char* StreamNotFound = "NetStream.Play.StreamNotFound";
inline constexpr const char* FileStructureInvalid = "NetStream.Play.FileStructureInvalid";
inline constexpr const char* NoSupportedTrackFound = "NetStream.Play.NoSupportedTrackFound";
inline constexpr const char* BufferFull = "NetStream.Buffer.Full";
inline constexpr const char* BufferEmpty = "NetStream.Buffer.Empty";
inline constexpr const char* SeekNotify = "NetStream.Seek.Notify";
inline constexpr const char* PauseNotify = "NetStream.Pause.Notify";
inline constexpr const char* UnpauseNotify = "NetStream.Unpause.Notify";
} // namespace stream_status

struct VideoStreamEvent {
    enum class Kind { Status, MetaData };
    Kind kind = Kind::Status;
    std::string code;     // Status: one of stream_status
    std::string level;    // Status: "status" or "error"
    FlvMetadata metadata; // MetaData: the file's onMetaData entries
};

class VideoStream {
public:
    enum class State {
        Idle,      // before Play, and after Close
        Buffering, // waiting for enough bytes to start or go on
        Playing,   // the clock runs (unless paused)
        Stopped,   // the end was reached; a seek plays on
        Failed,    // not found, or not a video file
    };

    // Starts a new stream at time 0, dropping the one before; raises Play.Start.
    void Play();
    // The download: bytes as they arrive, the length when known, then the end. NotFound when
    // the host has nothing under the name. Ignored unless a stream was started.
    void Append(std::span<const uint8_t> bytes);
    void SetBytesTotal(size_t bytes);
    void EndOfData();
    void NotFound();

    // One tick of the player's clock. True when the picture changed since the last call
    // (by playing on, or by a seek or a new stream in between).
    bool Advance(unsigned milliseconds);

    // Pause.Notify and Unpause.Notify are raised only when the paused state changes.
    void Pause();
    void Resume();
    bool IsPaused() const { return paused_; }
    // To the key frame at or before the time (in seconds), within what has arrived; raises
    // Seek.Notify. A stream at its end plays on from there.
    void Seek(double seconds);
    // Stops the stream and drops its data; the picture stays until another is decoded.
    void Close();
    void SetBufferTime(double seconds);
    double BufferTime() const { return bufferMilliseconds_ / 1000.0; }

    State GetState() const { return state_; }
    double Time() const;     // seconds
    double Duration() const; // seconds, from the metadata; 0 when unknown
    size_t BytesLoaded() const;
    size_t BytesTotal() const; // the length given, or what has arrived when it is unknown
    // The picture due at the current time; null before the first decoded one.
    const Image* Picture() const;
    // The events since the last call, in the order they happened.
    std::vector<VideoStreamEvent> TakeEvents();

private:
    void Drop(State next); // the stream's data and position, not the picture
    void Raise(const char* code, const char* level = "status");
    void ShowDueFrame();
    void CheckLoad();
    bool BufferFilled() const;
    uint64_t EndTime() const;

    State state_ = State::Idle;
    bool paused_ = false;
    uint32_t bufferMilliseconds_ = 100;
    uint64_t time_ = 0; // milliseconds
    size_t bytesTotal_ = 0;
    bool ended_ = false; // EndOfData was called
    bool metadataRaised_ = false;
    bool unsupportedRaised_ = false;
    uint64_t pictureSerial_ = 0, shownSerial_ = 0;
    FlvReader reader_;
    ScreenVideoDecoder decoder_;
    size_t decodedFrames_ = 0; // frames of the reader's list up to the decoded picture
    std::vector<VideoStreamEvent> events_;
};

} // namespace zn::swf
