// Draws a player's view onto a device context with AlphaBlend.
#include "znswf/compositor.h"

#include <algorithm>

namespace zn::swf {

Compositor::~Compositor()
{
    Release();
}

void Compositor::Release()
{
    if (memory_) {
        SelectObject(memory_, previous_);
        DeleteDC(memory_);
        memory_ = nullptr;
    }
    if (bitmap_) {
        DeleteObject(bitmap_);
        bitmap_ = nullptr;
    }
    bits_ = nullptr;
    width_ = height_ = 0;
}

bool Compositor::EnsureBuffer(HDC destination, int width, int height)
{
    if (bitmap_ && width <= width_ && height <= height_)
        return true;
    Release();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, as the renderer writes
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_ = CreateDIBSection(destination, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (!bitmap_)
        return false;
    memory_ = CreateCompatibleDC(destination);
    if (!memory_) {
        Release();
        return false;
    }
    previous_ = SelectObject(memory_, bitmap_);
    width_ = width;
    height_ = height;
    return true;
}

bool Compositor::Paint(const MoviePlayer& player, HDC destination, const RECT& view, bool opaque)
{
    if (!destination)
        return false;
    RECT clip;
    int kind = GetClipBox(destination, &clip);
    if (kind == ERROR)
        return false;
    RECT area;
    if (kind == NULLREGION || !IntersectRect(&area, &clip, &view))
        return true; // nothing of the view shows
    int width = area.right - area.left, height = area.bottom - area.top;
    if (!EnsureBuffer(destination, width, height))
        return false;

    ImageView target{static_cast<uint32_t*>(bits_), width, height, width_};
    RenderOptions options;
    options.viewWidth = view.right - view.left;
    options.viewHeight = view.bottom - view.top;
    options.originX = area.left - view.left;
    options.originY = area.top - view.top;
    options.opaqueBackground = opaque;
    player.Render(target, options);
    GdiFlush();

    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return AlphaBlend(destination, area.left, area.top, width, height, memory_, 0, 0, width, height,
                      blend) != FALSE;
}

} // namespace zn::swf
