// The layered player window: the form made layered, what UpdateLayeredWindow receives, the
// master alpha, and what reaches the screen through the movie's transparent parts.
#include "test_driver.h"
#include "test_windows.h"

#include "zintara/zn_layer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace zn;
using namespace zn::test;

namespace {

// The arguments of one UpdateLayeredWindow call.
struct TLayerUpdate {
    HWND Window;
    HDC DestinationDC;
    POINT Destination;
    SIZE Size;
    HDC SourceDC;
    POINT Source;
    COLORREF Key;
    BLENDFUNCTION Blend;
    DWORD Flags;
    // The buffer's pixel at (10, 10) when the call was made.
    std::uint32_t Pixel;
};

std::vector<TLayerUpdate>& Updates()
{
    static std::vector<TLayerUpdate> updates;
    return updates;
}

TUpdateLayeredWindowFunction SystemUpdate = nullptr;

BOOL WINAPI RecordingUpdate(HWND Window, HDC DestinationDC, POINT* Destination, SIZE* Size,
                            HDC SourceDC, POINT* Source, COLORREF Key, BLENDFUNCTION* Blend,
                            DWORD Flags)
{
    DIBSECTION section{};
    std::uint32_t pixel = 0;
    if (GetObjectW(GetCurrentObject(SourceDC, OBJ_BITMAP), sizeof section, &section) &&
        section.dsBm.bmBits && Size->cx > 10 && Size->cy > 10)
        pixel =
            static_cast<const std::uint32_t*>(section.dsBm.bmBits)[10 * section.dsBm.bmWidth + 10];
    Updates().push_back(
        {Window, DestinationDC, *Destination, *Size, SourceDC, *Source, Key, *Blend, Flags, pixel});
    return SystemUpdate(Window, DestinationDC, Destination, Size, SourceDC, Source, Key, Blend,
                        Flags);
}

void DrawRedLeftHalf(HDC DC)
{
    FillOpaque(DC, RECT{0, 0, 60, 80}, 0xFF0000u);
}

class LayerTest : public ::testing::Test {
protected:
    LayerTest()
    {
        SystemUpdate = UpdateLayeredWindowFunction();
        UpdateLayeredWindowFunction() = &RecordingUpdate;
        Updates().clear();
        Form->SetBounds(120, 90, 120, 80);
        Layer = new TznFlashLayer(Form.get());
        Layer->SetParent(Form.get());
    }
    ~LayerTest() override { UpdateLayeredWindowFunction() = SystemUpdate; }

    TTestDriver& Driver() { return static_cast<TTestDriver&>(*Layer->Driver()); }
    LONG FormExStyle() { return GetWindowLongW(Form->Handle(), GWL_EXSTYLE); }

    TTestDriverHosts Hosts;
    std::unique_ptr<TBorderlessForm> Form = std::make_unique<TBorderlessForm>(nullptr);
    TznFlashLayer* Layer = nullptr;
};

TEST_F(LayerTest, FillsItsFormWithFullMasterAlphaAndTransparentBuffers)
{
    EXPECT_EQ(Layer->Align(), alClient);
    EXPECT_EQ(Layer->MasterAlpha(), 255);
    EXPECT_TRUE(Layer->AllowDrag());
    EXPECT_TRUE(Driver().Transparent()) << "per-pixel alpha from the start";
    Form->Show();
    EXPECT_EQ(Layer->Width(), 120);
    EXPECT_EQ(Layer->Height(), 80);
    EXPECT_EQ(Driver().Width(), 120);
}

TEST_F(LayerTest, ANewPluginKeepsTheBufferTransparent)
{
    Layer->SetPlugin(znNetscape);
    EXPECT_TRUE(Driver().Transparent());
    EXPECT_EQ(Driver().Background(), 0u);
    Form->Show();
    Layer->SetPlugin(znActiveX);
    EXPECT_TRUE(Driver().Transparent());
    Driver().Render(Rect(0, 0, 120, 80), DrawRedLeftHalf);
    EXPECT_EQ(Driver().Pixel(100, 40), 0u);
}

// A driver that could not be made is made on the next assignment, even of the same value.
TEST_F(LayerTest, AFailedDriverCreationIsTriedAgain)
{
    TTestDriver::OnConstruct() = [] { throw EOutOfMemory(L"no buffers"); };
    EXPECT_THROW(Layer->SetPlugin(znNetscape), EOutOfMemory);
    EXPECT_EQ(Layer->Driver(), nullptr);
    TTestDriver::OnConstruct() = nullptr;
    Layer->SetPlugin(znNetscape);
    ASSERT_NE(Layer->Driver(), nullptr);
    EXPECT_TRUE(Driver().Transparent());
    EXPECT_EQ(Layer->Plugin(), znNetscape);
}

TEST_F(LayerTest, MasterAlphaIsLimitedTo0Through255)
{
    Layer->SetMasterAlpha(300);
    EXPECT_EQ(Layer->MasterAlpha(), 255);
    Layer->SetMasterAlpha(-5);
    EXPECT_EQ(Layer->MasterAlpha(), 0);
    Layer->SetMasterAlpha(77);
    EXPECT_EQ(Layer->MasterAlpha(), 77);
}

TEST_F(LayerTest, ItsWindowMakesTheFormLayeredAndHandsOverTheBuffer)
{
    EXPECT_FALSE(Form->HandleAllocated());
    Form->Show();
    EXPECT_NE(FormExStyle() & WS_EX_LAYERED, 0);
    ASSERT_FALSE(Updates().empty());
    const TLayerUpdate& update = Updates().back();
    EXPECT_EQ(update.Window, Form->Handle());
    EXPECT_EQ(update.DestinationDC, nullptr);
    EXPECT_EQ(update.Destination.x, 120);
    EXPECT_EQ(update.Destination.y, 90);
    EXPECT_EQ(update.Size.cx, 120);
    EXPECT_EQ(update.Size.cy, 80);
    EXPECT_EQ(update.SourceDC, Driver().BufferDC());
    EXPECT_EQ(update.Source.x, 0);
    EXPECT_EQ(update.Source.y, 0);
    EXPECT_EQ(update.Key, 0u);
    EXPECT_EQ(update.Blend.BlendOp, AC_SRC_OVER);
    EXPECT_EQ(update.Blend.BlendFlags, 0);
    EXPECT_EQ(update.Blend.SourceConstantAlpha, 255);
    EXPECT_EQ(update.Blend.AlphaFormat, AC_SRC_ALPHA);
    EXPECT_EQ(update.Flags, static_cast<DWORD>(ULW_ALPHA));
}

TEST_F(LayerTest, EveryDriverUpdateHandsOverPremultipliedPixelsWithTheMasterAlpha)
{
    Form->Show();
    Layer->SetMasterAlpha(128);
    const std::size_t before = Updates().size();
    ASSERT_GT(before, 0u);
    EXPECT_EQ(Updates().back().Blend.SourceConstantAlpha, 255)
        << "a new master alpha waits for the next update";
    Driver().Render(Rect(0, 0, 120, 80), [](HDC DC) { CoverHalfWhite(DC, RECT{0, 0, 120, 80}); });
    ASSERT_EQ(Updates().size(), before + 1);
    EXPECT_EQ(Updates().back().Blend.SourceConstantAlpha, 128);
    EXPECT_EQ(Updates().back().Pixel, 0x80808080u);
}

TEST_F(LayerTest, TheDestinationIsTheFormsPositionPlusTheLayersOffset)
{
    Layer->SetAlign(alNone);
    Layer->SetBounds(7, 5, 100, 60);
    Form->Show();
    ASSERT_FALSE(Updates().empty());
    EXPECT_EQ(Updates().back().Destination.x, 127);
    EXPECT_EQ(Updates().back().Destination.y, 95);
    EXPECT_EQ(Updates().back().Size.cx, 100);
}

TEST_F(LayerTest, AColourChangeLeavesUntouchedPixelsFullyTransparent)
{
    Form->Show();
    Layer->SetParentColor(false);
    Layer->SetColor(0x00FFFFFF);
    EXPECT_EQ(Driver().Background(), 0u);
    Driver().Render(Rect(0, 0, 120, 80), DrawRedLeftHalf);
    EXPECT_EQ(Driver().Pixel(100, 40), 0u);
    EXPECT_EQ(Driver().Pixel(20, 40), 0xFFFF0000u);
}

TEST_F(LayerTest, OnAParentThatIsNoFormNothingIsLayered)
{
    auto* panel = new TCustomControl(Form.get());
    panel->SetBounds(0, 0, 100, 60);
    panel->SetParent(Form.get());
    Layer->SetParent(panel);
    Form->Show();
    EXPECT_EQ(FormExStyle() & WS_EX_LAYERED, 0);
    EXPECT_EQ(GetWindowLongW(panel->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_TRUE(Updates().empty());
}

TEST_F(LayerTest, InTheDesignerTheFormIsNeverLayered)
{
    Layer->SetDesigning(true);
    Form->Show();
    Driver().Render(Rect(0, 0, 10, 10), [](HDC) {});
    EXPECT_EQ(FormExStyle() & WS_EX_LAYERED, 0);
    EXPECT_TRUE(Updates().empty());
}

TEST_F(LayerTest, TheScreenShowsOpaquePixelsAndWhatLiesBehindTheTransparentOnes)
{
    TBorderlessForm behind(nullptr);
    behind.SetBounds(120, 90, 120, 80);
    behind.SetColor(0x0000FF00); // green
    behind.Show();
    UpdateWindow(behind.Handle());
    Form->Show();
    SetWindowPos(Form->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Driver().Render(Rect(0, 0, 120, 80), DrawRedLeftHalf);
    PumpMessages();
    EXPECT_EQ(ScreenPixel(120 + 20, 90 + 40), 0xFF0000u) << "opaque movie";
    EXPECT_EQ(ScreenPixel(120 + 100, 90 + 40), 0x00FF00u) << "the window behind";
}

} // namespace
