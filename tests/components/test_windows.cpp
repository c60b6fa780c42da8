// The pattern form, borderless forms and pixel read-back.
#include "test_windows.h"

#include "zintara/framework/handles.h"

namespace zn::test {

namespace {

std::uint32_t ToRgb(COLORREF Color)
{
    return (static_cast<std::uint32_t>(GetRValue(Color)) << 16) | (GetGValue(Color) << 8) |
           GetBValue(Color);
}

} // namespace

std::uint32_t PatternColor(int X, int Y)
{
    const std::uint32_t cell_x = static_cast<std::uint32_t>(X / 4);
    const std::uint32_t cell_y = static_cast<std::uint32_t>(Y / 4);
    return ((cell_x * 40u) & 0xFFu) << 16 | ((cell_y * 56u) & 0xFFu) << 8 | 0x80u;
}

void TPatternForm::PaintWindow(HDC DC)
{
    const TRect client = ClientRect();
    for (int y = 0; y < client.Height(); y += 4)
        for (int x = 0; x < client.Width(); x += 4)
            FillOpaque(DC, RECT{x, y, x + 4, y + 4}, PatternColor(x, y));
}

void TBorderlessForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle &= ~static_cast<DWORD>(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE);
}

void FillOpaque(HDC DC, const RECT& Area, std::uint32_t Rgb)
{
    HBRUSH brush = CreateSolidBrush(RGB(Rgb >> 16, (Rgb >> 8) & 0xFF, Rgb & 0xFF));
    FillRect(DC, &Area, brush);
    DeleteObject(brush);
}

void CoverHalfWhite(HDC DC, const RECT& Area)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = -1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP pixel = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!pixel)
        return;
    *static_cast<std::uint32_t*>(bits) = 0x80808080u;
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, pixel);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(DC, Area.left, Area.top, Area.right - Area.left, Area.bottom - Area.top, source, 0,
               0, 1, 1, blend);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(pixel);
}

std::uint32_t WindowPixel(HWND Window, int X, int Y)
{
    const TWindowDC dc = WindowDC(Window);
    return ToRgb(GetPixel(dc.get().Value, X, Y));
}

std::uint32_t ScreenPixel(int X, int Y)
{
    return WindowPixel(nullptr, X, Y);
}

} // namespace zn::test
