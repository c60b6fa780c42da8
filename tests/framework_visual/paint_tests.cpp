// Painting: backgrounds in the control's colour, TCustomControl's Paint on WM_PAINT, graphic
// children on their parent's paint at their places, PaintTo into a DIB at an offset, and a
// graphic control's canvas outside a paint. Pixels are read back from the windows themselves.
#include "zintara/framework/forms.h"

#include "test_controls.h"
#include "support/test_surface.h"

#include <gtest/gtest.h>

using namespace zn;
using namespace zn::test;

namespace {

class PaintTest : public ::testing::Test {
protected:
    TForm Form{nullptr};
    TTestShape* Shape = nullptr;
    TTestPanel* Panel = nullptr;
    TTestShape* OnPanel = nullptr;

    void SetUp() override
    {
        Form.SetBounds(0, 0, 320, 240);
        Form.SetColor(clYellow);
        Shape = new TTestShape(&Form);
        Shape->SetBounds(10, 20, 30, 40);
        Shape->SetColor(clRed);
        Shape->SetParent(&Form);
        Panel = new TTestPanel(&Form);
        Panel->SetBounds(100, 50, 80, 60);
        Panel->SetColor(clBlue);
        Panel->SetParent(&Form);
        OnPanel = new TTestShape(&Form);
        OnPanel->SetBounds(5, 6, 10, 10);
        OnPanel->SetColor(clLime);
        OnPanel->SetParent(Panel);
    }
    void ShowAndPaint()
    {
        Form.Show();
        RedrawWindow(Form.Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages();
    }
};

} // namespace

TEST_F(PaintTest, TheScreenShowsTheBackgroundThePanelAndBothGraphicControls)
{
    ShowAndPaint();
    TTestSurface screen(Form.ClientWidth(), Form.ClientHeight());
    screen.CopyFromWindow(Form.Handle());
    EXPECT_EQ(screen.Pixel(2, 2), ColorRef(clYellow));
    EXPECT_EQ(screen.Pixel(10, 20), ColorRef(clRed));
    EXPECT_EQ(screen.Pixel(39, 59), ColorRef(clRed));
    EXPECT_EQ(screen.Pixel(40, 60), ColorRef(clYellow));
    EXPECT_EQ(screen.Pixel(100, 50), ColorRef(clBlue));
    EXPECT_EQ(screen.Pixel(105, 56), ColorRef(clLime));
    EXPECT_EQ(screen.Pixel(115, 66), ColorRef(clBlue));
    EXPECT_GE(Shape->Paints, 1);
}

TEST_F(PaintTest, PaintToDrawsTheWholeTreeIntoAContextAtAnOffsetAndLeavesItsStateAlone)
{
    ShowAndPaint();
    TTestSurface buffer(200, 150);
    buffer.Fill(0x00808080);
    POINT before{};
    GetWindowOrgEx(buffer.DC(), &before);
    Form.PaintTo(buffer.DC(), -5, -10);
    POINT after{};
    GetWindowOrgEx(buffer.DC(), &after);
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
    EXPECT_EQ(buffer.Pixel(0, 0), ColorRef(clYellow));
    EXPECT_EQ(buffer.Pixel(5, 10), ColorRef(clRed))
        << "the graphic child at (10, 20) less the offset";
    EXPECT_EQ(buffer.Pixel(4, 9), ColorRef(clYellow));
    EXPECT_EQ(buffer.Pixel(95, 40), ColorRef(clBlue)) << "the windowed child";
    EXPECT_EQ(buffer.Pixel(100, 46), ColorRef(clLime)) << "the graphic child of the windowed child";
}

TEST_F(PaintTest, PaintToHonoursTheClippingTheCallerSet)
{
    TTestSurface buffer(60, 60);
    buffer.Fill(0x00808080);
    const TRegion clip(CreateRectRgn(0, 0, 20, 20));
    SelectClipRgn(buffer.DC(), clip.get());
    Form.PaintTo(buffer.DC(), -10, -20);
    EXPECT_EQ(buffer.Pixel(5, 5), ColorRef(clRed));
    EXPECT_EQ(buffer.Pixel(30, 30), 0x808080u);
}

TEST_F(PaintTest, AGraphicControlsCanvasOutsideAPaintDrawsAtItsPlaceOnTheParent)
{
    ShowAndPaint();
    Shape->Canvas().Brush().SetColor(clNavy);
    Shape->Canvas().FillRect(Rect(-50, -50, 200, 200));
    TTestSurface screen(Form.ClientWidth(), Form.ClientHeight());
    screen.CopyFromWindow(Form.Handle());
    EXPECT_EQ(screen.Pixel(10, 20), ColorRef(clNavy));
    EXPECT_EQ(screen.Pixel(39, 59), ColorRef(clNavy));
    EXPECT_EQ(screen.Pixel(40, 60), ColorRef(clYellow)) << "clipped to the control";
    EXPECT_EQ(screen.Pixel(9, 19), ColorRef(clYellow));
    Shape->SetLeft(60);
    Shape->Canvas().FillRect(Rect(0, 0, 1, 1));
    screen.CopyFromWindow(Form.Handle());
    EXPECT_EQ(screen.Pixel(60, 20), ColorRef(clNavy)) << "a moved control draws at its new place";
}

TEST(GraphicControlCanvas, WithoutAParentWindowDrawingGoesNowhereSafely)
{
    TTestShape shape(nullptr);
    shape.SetBounds(0, 0, 10, 10);
    shape.Canvas().Brush().SetColor(clRed);
    EXPECT_NO_THROW(shape.Canvas().FillRect(Rect(0, 0, 10, 10)));
    TTestPanel parent(nullptr);
    shape.SetParent(&parent);
    EXPECT_NO_THROW(shape.Canvas().FillRect(Rect(0, 0, 10, 10)));
    EXPECT_FALSE(parent.HandleAllocated()) << "drawing does not create the parent's window";
}

TEST_F(PaintTest, ChangingTheColourRepaintsWithTheNewOne)
{
    ShowAndPaint();
    Panel->SetColor(clFuchsia);
    UpdateWindow(Panel->Handle());
    TTestSurface screen(Form.ClientWidth(), Form.ClientHeight());
    screen.CopyFromWindow(Form.Handle());
    EXPECT_EQ(screen.Pixel(150, 100), ColorRef(clFuchsia));
    EXPECT_EQ(screen.Pixel(105, 56), ColorRef(clLime)) << "a child with its own colour keeps it";
}
