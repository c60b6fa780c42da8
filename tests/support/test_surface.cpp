#include "test_surface.h"

#include "zintara/framework/handles.h"

#include <gtest/gtest.h>

namespace zn::test {

void TTestSurface::CopyFromWindow(HWND Window, int X, int Y)
{
    const TWindowDC source = WindowDC(Window);
    BitBlt(DC(), 0, 0, Width(), Height(), source.get().Value, X, Y, SRCCOPY);
}

void CompositeOnto(HDC Target, int TargetWidth, int TargetHeight, const TDibSurface& Source,
                   BYTE Opacity, bool PerPixelAlpha)
{
    GdiFlush();
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, Opacity, BYTE(PerPixelAlpha ? AC_SRC_ALPHA : 0)};
    EXPECT_TRUE(AlphaBlend(Target, 0, 0, TargetWidth, TargetHeight, Source.DC(), 0, 0,
                           Source.Width(), Source.Height(), blend));
}

} // namespace zn::test
