// What the control draws, through IViewObject::Draw and through the site's device context,
// pixel by pixel against the engine's own rendering of the same frame; and the rectangles the
// frame clock announces.
#include "control_fixture.h"

#include "sample_movies.h"
#include "znswf/movie_player.h"

#include <gmock/gmock.h>

namespace zn::test {
namespace {

using ::testing::IsEmpty;

class QuietHost final : public swf::PlayerHost {
    void RequestUrl(const std::string&, const std::string&) override {}
    void FSCommand(const std::string&, const std::string&) override {}
    std::string CallExternal(const std::string&, const std::vector<swf::ExternalValue>&) override
    {
        return {};
    }
    void InvalidateRect(const swf::PixelRect&) override {}
};

constexpr std::uint32_t kMarker = 0xFF123456;

class PaintingTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        Activate();
        SetWindowMode(L"Transparent");
        LoadMovie(swf::samples::SampleMovie());
        ASSERT_EQ(player->StopPlay(), S_OK);
        ASSERT_EQ(player->GotoFrame(0), S_OK);
        QuietHost host;
        swf::MoviePlayer movie(host);
        movie.Load(swf::samples::SampleMovie());
        movie.SetViewSize(kWidth, kHeight);
        reference = swf::Image(kWidth, kHeight);
        movie.Render(reference.View());
    }

    void SetWindowMode(const wchar_t* mode)
    {
        BSTR text = SysAllocString(mode);
        ASSERT_EQ(player->put_WMode(text), S_OK);
        SysFreeString(text);
    }

    // The engine's premultiplied pixel blended over an opaque background, as AlphaBlend does.
    std::uint32_t Over(std::uint32_t background, int x, int y) const
    {
        const std::uint32_t source = reference.At(x, y);
        const unsigned keep = 255 - (source >> 24);
        std::uint32_t out = 0xFF000000;
        for (int shift = 0; shift < 24; shift += 8) {
            const unsigned under = (background >> shift) & 0xFF;
            out |= (((source >> shift) & 0xFF) + (under * keep + 127) / 255) << shift;
        }
        return out;
    }

    // Pixels of the site's buffer that differ from the reference over background, inside area.
    int Differences(std::uint32_t background, const RECT& area) const
    {
        int differences = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                differences += site.buffer.At(x, y) != Over(background, x, y);
        return differences;
    }

    swf::Image reference;
};

TEST_F(PaintingTest, DrawMatchesTheEngineOverBlackAndOverWhite)
{
    const RECT all{0, 0, kWidth, kHeight};
    for (std::uint32_t background : {0xFF000000u, 0xFFFFFFFFu}) {
        site.background = background;
        site.Repaint(all);
        EXPECT_EQ(Differences(background, all), 0) << std::hex << background;
    }
    // The red circle at half alpha has real partial coverage: the two backgrounds show through.
    const int x = swf::samples::SampleCircleX(0), y = swf::samples::SampleCircleY;
    EXPECT_NE(Over(0xFF000000, x - 30, y), Over(0xFFFFFFFF, x - 30, y));
    EXPECT_THAT(Violations(), IsEmpty());
}

TEST_F(PaintingTest, DrawStaysInsideTheClip)
{
    site.buffer.Fill(kMarker);
    const RECT part{100, 100, 160, 170};
    site.Repaint(part);
    EXPECT_EQ(Differences(site.background, part), 0);
    int outside_changed = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const POINT point{x, y};
            if (!PtInRect(&part, point))
                outside_changed += site.buffer.At(x, y) != kMarker;
        }
    EXPECT_EQ(outside_changed, 0);
}

TEST_F(PaintingTest, OpaqueModeDrawsTheMovieBackground)
{
    SetWindowMode(L"Window");
    site.buffer.Fill(kMarker);
    site.Repaint(RECT{0, 0, kWidth, kHeight});
    const auto background = swf::samples::SampleBackground;
    EXPECT_EQ(site.buffer.At(2, 2),
              swf::PackPixel(background.red, background.green, background.blue, 255));
}

TEST_F(PaintingTest, DrawsThroughTheSiteDeviceContextOutsideDraw)
{
    site.buffer.Fill(0xFF000000);
    Log();
    ASSERT_EQ(exports.DrawThroughSite(control), S_OK);
    EXPECT_EQ(site.getDcCalls, 1);
    EXPECT_EQ(Differences(0xFF000000, RECT{0, 0, kWidth, kHeight}), 0);
    auto calls = Log();
    EXPECT_THAT(LinesStarting(calls, "Site.GetDC"),
                ::testing::ElementsAre(::testing::HasSubstr("rect=(0,0,320,240)")));
    EXPECT_THAT(LinesStarting(calls, "Site.ReleaseDC"), ::testing::SizeIs(1));
    EXPECT_THAT(Violations(), IsEmpty());
}

TEST_F(PaintingTest, ANewSizeRepaintsAtOnceAtTheNewScale)
{
    IOleInPlaceObject* in_place = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&in_place)),
              S_OK);
    site.invalidated.clear();
    site.buffer.Fill(kMarker);
    const RECT half{0, 0, kWidth / 2, kHeight / 2};
    ASSERT_EQ(in_place->SetObjectRects(&half, &half), S_OK);
    in_place->Release();
    ASSERT_EQ(site.invalidated.size(), 1u);
    EXPECT_TRUE(EqualRect(&site.invalidated[0], &half));
    QuietHost host;
    swf::MoviePlayer movie(host);
    movie.Load(swf::samples::SampleMovie());
    movie.SetViewSize(kWidth / 2, kHeight / 2);
    reference = swf::Image(kWidth / 2, kHeight / 2);
    movie.Render(reference.View());
    EXPECT_EQ(Differences(site.background, half), 0);
    EXPECT_EQ(site.buffer.At(kWidth - 1, kHeight - 1), kMarker);
    EXPECT_THAT(Violations(), IsEmpty());
}

TEST_F(PaintingTest, FrameClockAnnouncesTheChangedRectangles)
{
    site.invalidated.clear();
    ASSERT_EQ(player->Play(), S_OK);
    Pump(400); // several frames at 12 per second
    ASSERT_FALSE(site.invalidated.empty());
    for (const RECT& rect : site.invalidated) {
        EXPECT_GE(rect.left, 0);
        EXPECT_LE(rect.right, kWidth);
        EXPECT_LT(rect.left, rect.right);
    }
    LONG frame = 0;
    ASSERT_EQ(player->CurrentFrame(&frame), S_OK);
    EXPECT_GT(frame, 0);
    EXPECT_THAT(Violations(), IsEmpty());
}

} // namespace
} // namespace zn::test
