// The movie drawn onto a device context through the engine's compositor.
#include "window_painter.h"

#include "znswf/compositor.h"

#include <windows.h>

namespace zn::np {

struct WindowPainter::Buffers {
    swf::Compositor compositor;
};

WindowPainter::WindowPainter() : buffers_(std::make_unique<Buffers>()) {}

WindowPainter::~WindowPainter() = default;

void WindowPainter::Paint(const swf::MoviePlayer& movie, void* deviceContext,
                          const NPWindow& window, bool transparent,
                          std::optional<std::uint32_t> background)
{
    auto dc = static_cast<HDC>(deviceContext);
    DWORD kind = GetObjectType(dc);
    if (kind != OBJ_DC && kind != OBJ_MEMDC)
        return;
    RECT view{window.x, window.y, window.x + static_cast<LONG>(window.width),
              window.y + static_cast<LONG>(window.height)};
    bool movie_background = !transparent && !background;
    if (!transparent && background) {
        COLORREF color =
            RGB((*background >> 16) & 0xFF, (*background >> 8) & 0xFF, *background & 0xFF);
        HBRUSH brush = CreateSolidBrush(color);
        if (brush) {
            FillRect(dc, &view, brush);
            DeleteObject(brush);
        }
    }
    buffers_->compositor.Paint(movie, dc, view, movie_background);
}

bool ClippedWithin(void* deviceContext, std::uintptr_t dirtyRect)
{
    auto dc = static_cast<HDC>(deviceContext);
    DWORD kind = GetObjectType(dc);
    if (kind != OBJ_DC && kind != OBJ_MEMDC)
        return true;
    const RECT& dirty = *reinterpret_cast<const RECT*>(dirtyRect);
    RECT clip;
    if (GetClipBox(dc, &clip) == NULLREGION)
        return true;
    return clip.left >= dirty.left && clip.top >= dirty.top && clip.right <= dirty.right &&
           clip.bottom <= dirty.bottom;
}

} // namespace zn::np
