// Painting: backgrounds in the control's colour, TCustomControl's Paint on WM_PAINT, graphic
// children on their parent's paint at their places, PaintTo into a DIB at an offset, and a
// graphic control's canvas outside a paint. Pixels are read back from the windows themselves.
#include "zintara/framework/forms.h"

#include "test_controls.h"
#include "test_surface.h"

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

    void SetUp() override {
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
    void ShowAndPaint() {
        Form.Show();
        RedrawWindow(Form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages();
    }
};

} // namespace

TEST_F(PaintTest, TheScreenShowsTheBackgroundThePanelAndBothGraphicControls) {
    ShowAndPaint();
    TTestSurface Screen(Form.ClientWidth(), Form.ClientHeight());
    Screen.CopyFromWindow(Form.Handle());
    EXPECT_EQ(Screen.Pixel(2, 2), ColorRef(clYellow));
    EXPECT_EQ(Screen.Pixel(10, 20), ColorRef(clRed));
    EXPECT_EQ(Screen.Pixel(39, 59), ColorRef(clRed));
    EXPECT_EQ(Screen.Pixel(40, 60), ColorRef(clYellow));
    EXPECT_EQ(Screen.Pixel(100, 50), ColorRef(clBlue));
    EXPECT_EQ(Screen.Pixel(105, 56), ColorRef(clLime));
    EXPECT_EQ(Screen.Pixel(115, 66), ColorRef(clBlue));
    EXPECT_GE(Shape->Paints, 1);
}

TEST_F(PaintTest, PaintToDrawsTheWholeTreeIntoAContextAtAnOffsetAndLeavesItsStateAlone) {
    ShowAndPaint();
    TTestSurface Buffer(200, 150);
    Buffer.Fill(0x00808080);
    POINT Before{};
    GetWindowOrgEx(Buffer.DC(), &Before);
    Form.PaintTo(Buffer.DC(), -5, -10);
    POINT After{};
    GetWindowOrgEx(Buffer.DC(), &After);
    EXPECT_EQ(After.x, Before.x);
    EXPECT_EQ(After.y, Before.y);
    EXPECT_EQ(Buffer.Pixel(0, 0), ColorRef(clYellow));
    EXPECT_EQ(Buffer.Pixel(5, 10), ColorRef(clRed)) << "the graphic child at (10, 20) less the offset";
    EXPECT_EQ(Buffer.Pixel(4, 9), ColorRef(clYellow));
    EXPECT_EQ(Buffer.Pixel(95, 40), ColorRef(clBlue)) << "the windowed child";
    EXPECT_EQ(Buffer.Pixel(100, 46), ColorRef(clLime)) << "the graphic child of the windowed child";
}

TEST_F(PaintTest, PaintToHonoursTheClippingTheCallerSet) {
    TTestSurface Buffer(60, 60);
    Buffer.Fill(0x00808080);
    const TRegion Clip(CreateRectRgn(0, 0, 20, 20));
    SelectClipRgn(Buffer.DC(), Clip.get());
    Form.PaintTo(Buffer.DC(), -10, -20);
    EXPECT_EQ(Buffer.Pixel(5, 5), ColorRef(clRed));
    EXPECT_EQ(Buffer.Pixel(30, 30), 0x808080u);
}

TEST_F(PaintTest, AGraphicControlsCanvasOutsideAPaintDrawsAtItsPlaceOnTheParent) {
    ShowAndPaint();
    Shape->Canvas().Brush().SetColor(clNavy);
    Shape->Canvas().FillRect(Rect(-50, -50, 200, 200));
    TTestSurface Screen(Form.ClientWidth(), Form.ClientHeight());
    Screen.CopyFromWindow(Form.Handle());
    EXPECT_EQ(Screen.Pixel(10, 20), ColorRef(clNavy));
    EXPECT_EQ(Screen.Pixel(39, 59), ColorRef(clNavy));
    EXPECT_EQ(Screen.Pixel(40, 60), ColorRef(clYellow)) << "clipped to the control";
    EXPECT_EQ(Screen.Pixel(9, 19), ColorRef(clYellow));
    Shape->SetLeft(60);
    Shape->Canvas().FillRect(Rect(0, 0, 1, 1));
    Screen.CopyFromWindow(Form.Handle());
    EXPECT_EQ(Screen.Pixel(60, 20), ColorRef(clNavy)) << "a moved control draws at its new place";
}

TEST(GraphicControlCanvas, WithoutAParentWindowDrawingGoesNowhereSafely) {
    TTestShape Shape(nullptr);
    Shape.SetBounds(0, 0, 10, 10);
    Shape.Canvas().Brush().SetColor(clRed);
    EXPECT_NO_THROW(Shape.Canvas().FillRect(Rect(0, 0, 10, 10)));
    TTestPanel Parent(nullptr);
    Shape.SetParent(&Parent);
    EXPECT_NO_THROW(Shape.Canvas().FillRect(Rect(0, 0, 10, 10)));
    EXPECT_FALSE(Parent.HandleAllocated()) << "drawing does not create the parent's window";
}

TEST_F(PaintTest, ChangingTheColourRepaintsWithTheNewOne) {
    ShowAndPaint();
    Panel->SetColor(clFuchsia);
    UpdateWindow(Panel->Handle());
    TTestSurface Screen(Form.ClientWidth(), Form.ClientHeight());
    Screen.CopyFromWindow(Form.Handle());
    EXPECT_EQ(Screen.Pixel(150, 100), ColorRef(clFuchsia));
    EXPECT_EQ(Screen.Pixel(105, 56), ColorRef(clLime)) << "a child with its own colour keeps it";
}
