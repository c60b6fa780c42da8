// Painting an instance's movie into the device context of its windowless window.
#pragma once

#include "npapi.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace zn::swf {
class MoviePlayer;
}

namespace zn::np {

class WindowPainter {
public:
    WindowPainter();
    ~WindowPainter();
    WindowPainter(const WindowPainter&) = delete;
    WindowPainter& operator=(const WindowPainter&) = delete;

    // Draws the current frame over the window's area of the device context, inside the
    // context's current clip: over what is there when transparent, otherwise over the
    // background colour (the movie's own when none is given). Something that is not a device
    // context is left alone.
    void Paint(const swf::MoviePlayer& movie, void* deviceContext, const NPWindow& window,
               bool transparent, std::optional<std::uint32_t> background);

private:
    struct Buffers;
    std::unique_ptr<Buffers> buffers_;
};

// Whether the clip of the device context lies inside the dirty rectangle, a RECT that the
// paint event's lParam points to; true for something that is not a device context.
bool ClippedWithin(void* deviceContext, std::uintptr_t dirtyRect);

} // namespace zn::np
