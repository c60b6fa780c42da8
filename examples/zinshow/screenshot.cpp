// Screen read-back through a DIB section.
#include "screenshot.h"

#include "zintara/framework/handles.h"

#include <algorithm>

namespace zn::zinshow {

std::vector<std::uint32_t> CaptureScreen(const RECT& Area)
{
    const int width = Area.right - Area.left;
    const int height = Area.bottom - Area.top;
    if (width <= 0 || height <= 0)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    TDibSection bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    TMemoryDC memory(CreateCompatibleDC(nullptr));
    const TSelectedObject selection = SelectInto(memory.get(), bitmap.get());
    const TWindowDC screen = WindowDC(nullptr);
    const bool copied =
        selection && screen &&
        BitBlt(memory.get(), 0, 0, width, height, screen.get().Value, Area.left, Area.top, SRCCOPY);
    if (!copied)
        return {};
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + width * height);
    for (std::uint32_t& pixel : pixels)
        pixel |= 0xFF000000u;
    return pixels;
}

} // namespace zn::zinshow
