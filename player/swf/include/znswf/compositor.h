// The Windows side of the engine: draws a player's view onto a device context. The frame is
// rendered premultiplied into a DIB section covering only the part of the view inside the
// context's current clip, and blended with AlphaBlend (per-pixel alpha), so what lies under
// a transparent movie shows through it.
#pragma once

#include <windows.h>

#include "znswf/movie_player.h"

namespace zn::swf {

class Compositor {
public:
    Compositor() = default;
    ~Compositor();
    Compositor(const Compositor&) = delete;
    Compositor& operator=(const Compositor&) = delete;

    // `view` is where the player's whole view lies in the context's logical coordinates.
    // With `opaque` the movie's background colour is drawn first; otherwise only the movie's
    // shapes reach the context. False when the system refused a bitmap or the blend.
    bool Paint(const MoviePlayer& player, HDC destination, const RECT& view, bool opaque);

private:
    bool EnsureBuffer(HDC destination, int width, int height);
    void Release();

    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};

} // namespace zn::swf
