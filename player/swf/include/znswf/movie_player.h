// The movie engine: loads a movie from bytes (all at once or as a download delivers them),
// plays its timeline as the host's clock ticks, runs its scripts, renders any frame into a
// premultiplied image of any size, and exchanges calls with the host through PlayerHost.
//
//   MoviePlayer player(host);
//   player.SetViewSize(width, height);
//   player.Load(bytes);                    // or BeginLoad / Append... / EndLoad
//   every player.FrameIntervalMilliseconds():
//       PixelRect changed = player.Advance();   // also passed to host.InvalidateRect
//   on paint: player.Render(image.View(), {.opaqueBackground = false});
//
// Frame numbers are 0-based here, as in the host's playback interface; the movie's own
// scripts count from 1. Nothing throws: bad movies show what could be read, bad requests
// return empty answers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "znswf/geometry.h"
#include "znswf/image.h"
#include "znswf/movie.h"
#include "znswf/player_host.h"

namespace zn::swf {

struct RenderOptions {
    // The view the stage is fitted into ("show all": scaled to fit, centred); 0 means the
    // target's own size.
    int viewWidth = 0, viewHeight = 0;
    // Where the target's first pixel lies in the view, for rendering a part of it.
    int originX = 0, originY = 0;
    // Pixels of the target to draw, in target coordinates; empty means all of it. Others are untouched.
    PixelRect clip;
    // Fill with the movie's background colour; otherwise the area starts transparent.
    bool opaqueBackground = false;
};

struct InputState {
    int mouseX = 0, mouseY = 0; // view pixels
    bool mouseDown = false;
    unsigned lastKey = 0; // virtual-key code of the last key down
    unsigned lastCharacter = 0;
    unsigned events = 0; // how many input calls arrived
};

class MoviePlayer {
public:
    explicit MoviePlayer(PlayerHost& host);
    ~MoviePlayer();
    MoviePlayer(const MoviePlayer&) = delete;
    MoviePlayer& operator=(const MoviePlayer&) = delete;

    // Loading. BeginLoad drops the current movie; frames play as soon as they have arrived.
    void BeginLoad();
    void Append(std::span<const uint8_t> bytes);
    void EndLoad();
    void Load(std::span<const uint8_t> bytes);
    bool HasMovie() const;     // a header was read
    bool LoadComplete() const; // EndLoad was called or the movie's end was read
    bool LoadFailed() const;   // the bytes were not a movie
    const Movie* GetMovie() const;

    // The clock is the host's: call Advance once per frame interval.
    double FrameRate() const;
    unsigned FrameIntervalMilliseconds() const;
    // Steps to the next frame when playing; returns the view rectangle that changed.
    PixelRect Advance();

    // The view that InvalidateRect rectangles and mouse positions refer to.
    void SetViewSize(int width, int height);
    void Render(ImageView target, const RenderOptions& options = {}) const;
    Rgba BackgroundColor() const; // white until the movie sets one

    // Playback. GotoFrame, Rewind, Forward and Back keep the playing state.
    void Play();
    void StopPlay();
    void Rewind();
    void Forward();
    void Back();
    void GotoFrame(int frame);
    int CurrentFrame() const;
    int TotalFrames() const;
    int FramesLoaded() const;
    bool IsPlaying() const;
    void SetLoop(bool loop);
    bool Loop() const;

    // Scripting. Paths are dotted from the main timeline: "flv.volume", "_root.flv.volume".
    std::optional<std::string> GetVariable(std::string_view path);
    bool SetVariable(std::string_view path, std::string_view value);
    // Runs the callback the movie registered with ExternalInterface.addCallback, given an
    // <invoke> request; the answer is the callback's result as one ExternalInterface XML
    // value. Null when the request is unreadable or names no registered callback.
    std::optional<std::string> InvokeCallback(std::string_view requestXml);
    std::vector<std::string> CallbackNames() const;

    // Answers to the movie's requests through PlayerHost::RequestUrl (a movie loaded into a
    // clip, a video a stream plays): the whole file, or that there is none. The first
    // request for that URL still waiting takes the answer; others wait for their own.
    void UrlArrived(std::string_view url, std::span<const uint8_t> bytes);
    void UrlFailed(std::string_view url);
    // The volume scripts set through Sound (0 to 100); nothing is played.
    double Volume() const;

    // Input, in view pixels. The mouse drives the movie's buttons (their up, over and down
    // states and the actions of each transition) and is visible to scripts as _xmouse and
    // _ymouse; keys are recorded only.
    void MouseMove(int x, int y);
    void MouseButton(int x, int y, bool down);
    void KeyDown(unsigned virtualKey);
    void KeyUp(unsigned virtualKey);
    void Character(unsigned code);
    const InputState& Input() const;

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace zn::swf
