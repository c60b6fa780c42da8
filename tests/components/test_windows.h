// Real windows for the component tests: a form that paints a known pattern, borderless forms
// for layered windows, and reading pixels back from windows and the screen.
#pragma once

#include "support/messages.h"

#include "zintara/framework/forms.h"

#include <windows.h>

#include <cstdint>

namespace zn::test {

// The 0x00RRGGBB colour the pattern form paints at client pixel (X, Y): 4 x 4 cells, each a
// colour of its own.
std::uint32_t PatternColor(int X, int Y);

// A form whose client area shows the pattern; it paints the pattern wherever it is painted,
// on screen or through PaintTo.
class TPatternForm : public TForm {
public:
    using TForm::TForm;

protected:
    void PaintWindow(HDC DC) override;
};

// A popup form without border or caption, so that its window is exactly its client area.
class TBorderlessForm : public TForm {
public:
    using TForm::TForm;

protected:
    void CreateParams(TCreateParams& Params) override;
};

// Draws as a player does: an opaque rectangle filled with a colour (0x00RRGGBB), and a
// rectangle covered with white at half coverage (AlphaBlend of the premultiplied 0x80808080).
void FillOpaque(HDC DC, const RECT& Area, std::uint32_t Rgb);
void CoverHalfWhite(HDC DC, const RECT& Area);

// The 0x00RRGGBB colour of a pixel of the window's client area, and of the screen.
std::uint32_t WindowPixel(HWND Window, int X, int Y);
std::uint32_t ScreenPixel(int X, int Y);

} // namespace zn::test
