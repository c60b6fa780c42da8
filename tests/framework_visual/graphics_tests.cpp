// Colours and the canvas, drawn into a DIB section and read back.
#include "zintara/framework/exceptions.h"
#include "zintara/framework/graphics.h"

#include "support/test_surface.h"

#include <gtest/gtest.h>

using namespace zn;
using namespace zn::test;

TEST(Colors, SystemColorsResolveThroughTheSystemAndOthersLoseTheirTopByte)
{
    EXPECT_EQ(static_cast<COLORREF>(ColorToRGB(clWindow)), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(static_cast<COLORREF>(ColorToRGB(clBtnFace)), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(static_cast<COLORREF>(ColorToRGB(clInfoBk)), GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
    EXPECT_EQ(ColorToRGB(0x12345678), 0x345678);
    EXPECT_LT(clWindow, 0);
}

class CanvasTest : public ::testing::Test {
protected:
    TTestSurface Surface{40, 30};
    TCanvas Canvas;
    void SetUp() override
    {
        Surface.Fill(0x00FFFFFF);
        Canvas.SetHandle(Surface.DC());
    }
};

TEST_F(CanvasTest, RectangleIsOutlinedWithThePenAndFilledWithTheBrush)
{
    Canvas.Pen().SetColor(clBlue);
    Canvas.Brush().SetColor(clLime);
    Canvas.Rectangle(5, 5, 15, 12);
    EXPECT_EQ(Surface.Pixel(5, 5), ColorRef(clBlue));
    EXPECT_EQ(Surface.Pixel(14, 11), ColorRef(clBlue));
    EXPECT_EQ(Surface.Pixel(10, 8), ColorRef(clLime));
    EXPECT_EQ(Surface.Pixel(15, 12), 0xFFFFFFu) << "right and bottom edges are excluded";
    EXPECT_EQ(Surface.Pixel(4, 4), 0xFFFFFFu);
}

TEST_F(CanvasTest, PenWidthAndClearBrushAreHonoured)
{
    Canvas.Pen().SetColor(clRed);
    Canvas.Pen().SetWidth(3);
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Rectangle(10, 10, 30, 25);
    EXPECT_EQ(Surface.Pixel(10, 11), ColorRef(clRed));
    EXPECT_EQ(Surface.Pixel(11, 12), ColorRef(clRed)) << "a 3-pixel pen reaches one pixel inside";
    EXPECT_EQ(Surface.Pixel(20, 17), 0xFFFFFFu) << "a clear brush leaves the inside alone";
    Canvas.Pen().SetWidth(0);
    EXPECT_EQ(Canvas.Pen().Width(), 1);
}

TEST_F(CanvasTest, ChangingTheBrushWhileAttachedDrawsWithTheNewOne)
{
    Canvas.Brush().SetColor(clRed);
    Canvas.FillRect(Rect(0, 0, 10, 10));
    Canvas.Brush().SetColor(clNavy);
    Canvas.FillRect(Rect(10, 0, 20, 10));
    Canvas.Brush().SetColor(clBtnFace);
    Canvas.FillRect(Rect(20, 0, 30, 10));
    EXPECT_EQ(Surface.Pixel(5, 5), ColorRef(clRed));
    EXPECT_EQ(Surface.Pixel(15, 5), ColorRef(clNavy));
    EXPECT_EQ(Surface.Pixel(25, 5), ColorRef(static_cast<std::uint32_t>(ColorToRGB(clBtnFace))));
}

TEST_F(CanvasTest, DetachingPutsBackTheContextsOwnPenAndBrush)
{
    HGDIOBJ pen = GetCurrentObject(Surface.DC(), OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(Surface.DC(), OBJ_BRUSH);
    Canvas.Rectangle(1, 1, 5, 5);
    EXPECT_NE(GetCurrentObject(Surface.DC(), OBJ_PEN), pen);
    Canvas.SetHandle(nullptr);
    EXPECT_FALSE(Canvas.HandleAllocated());
    EXPECT_EQ(GetCurrentObject(Surface.DC(), OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(Surface.DC(), OBJ_BRUSH), brush);
}

TEST_F(CanvasTest, PixelsLinesAndCopies)
{
    Canvas.SetPixel(3, 4, clRed);
    EXPECT_EQ(Canvas.Pixel(3, 4), clRed);
    Canvas.Pen().SetColor(clGreen);
    Canvas.MoveTo(0, 20);
    Canvas.LineTo(10, 20);
    EXPECT_EQ(Surface.Pixel(9, 20), ColorRef(clGreen));
    EXPECT_EQ(Surface.Pixel(10, 20), 0xFFFFFFu) << "the end point is not drawn";

    TTestSurface other(10, 10);
    TCanvas source;
    source.SetHandle(other.DC());
    source.Brush().SetColor(clPurple);
    source.FillRect(Rect(0, 0, 10, 10));
    Canvas.CopyRect(Rect(20, 0, 25, 5), source, Rect(0, 0, 5, 5));
    EXPECT_EQ(Surface.Pixel(22, 2), ColorRef(clPurple));
    EXPECT_EQ(Surface.Pixel(26, 2), 0xFFFFFFu);
}

TEST(Canvas, APlainCanvasWithoutAContextRefusesToDraw)
{
    TCanvas canvas;
    EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
    EXPECT_THROW(canvas.Handle(), EInvalidOperation);
}
