// Paint passes against a plug-in that invalidates its whole window from inside every
// NPP_SetWindow and WM_PAINT, and against handlers that free the driver in the middle of a pass.
#include "driver_fixture.h"

#include <vector>

using namespace zn;
using namespace zn::testing;

class PaintPassTest : public DriverTest {
protected:
    // The sample's first frame, painted without interference: what every pass must leave.
    std::vector<std::uint32_t> QuietFrame(std::uint32_t Background)
    {
        CreateDriver(Background);
        Driver->LoadMovie(SampleMovieName);
        Driver->StopPlay();
        Driver->ForceUpdate();
        return Pixels();
    }

    std::vector<std::uint32_t> Pixels() const
    {
        return {Driver->BufferBits(), Driver->BufferBits() + Driver->Width() * Driver->Height()};
    }

    std::size_t PaintEvents(const std::vector<std::string>& Log) const
    {
        std::size_t count = 0;
        for (const std::string& line : LinesOf(Log, "NPP_HandleEvent"))
            count += Contains(line, "event=15");
        return count;
    }
};

TEST_F(PaintPassTest, AnInvalidationInsideATransparentPassWaitsForItsEnd)
{
    const std::vector<std::uint32_t> quiet = QuietFrame(0);
    TReferencePlugin::Loaded().SetHostile(ZnNpHostilePaintInvalidates, nullptr);
    TakeLog();
    Painted.clear();
    Driver->ForceUpdate();
    EXPECT_EQ(Pixels(), quiet);
    // Each pass draws twice and asks for one more: a bounded number of passes, each reported.
    const std::size_t paints = PaintEvents(TakeLog());
    EXPECT_GE(paints, 4u);
    EXPECT_LE(paints, 8u);
    EXPECT_EQ(Painted.size(), paints / 2);
}

TEST_F(PaintPassTest, AnInvalidationInsideAnOpaquePassWaitsForItsEnd)
{
    const std::vector<std::uint32_t> quiet = QuietFrame(0xFF000000u);
    TReferencePlugin::Loaded().SetHostile(ZnNpHostilePaintInvalidates, nullptr);
    TakeLog();
    Erased.clear();
    Driver->ForceUpdate();
    EXPECT_EQ(Pixels(), quiet);
    const std::size_t paints = PaintEvents(TakeLog());
    EXPECT_GE(paints, 2u);
    EXPECT_LE(paints, 4u);
    EXPECT_EQ(Erased.size(), paints);
}

TEST_F(PaintPassTest, AnEraseHandlerMayFreeTheDriver)
{
    CreateDriver(0xFF000000u);
    Driver->LoadMovie(SampleMovieName);
    Driver->StopPlay();
    AfterEvent = [this](const std::string& Raised) {
        if (Raised == "erase")
            Driver.reset();
    };
    void* npp = Npp();
    TakeLog();
    EXPECT_EQ(TReferencePlugin::Loaded().InvalidateRect(npp, 0, 0, 50, 50), 0);
    EXPECT_EQ(Driver, nullptr);
    EXPECT_EQ(CallOrder(TakeLog()), std::vector<std::string>{"NPP_Destroy"});
}

TEST_F(PaintPassTest, APaintHandlerMayFreeTheDriverBeforeTheDeferredPass)
{
    CreateDriver(0u);
    Driver->LoadMovie(SampleMovieName);
    Driver->StopPlay();
    void* npp = Npp();
    // The pass leaves an invalidation deferred; the handler of its OnPaint frees the driver.
    TReferencePlugin::Loaded().SetHostile(ZnNpHostilePaintInvalidates, nullptr);
    AfterEvent = [this](const std::string& Raised) {
        if (Raised == "paint")
            Driver.reset();
    };
    EXPECT_EQ(TReferencePlugin::Loaded().InvalidateRect(npp, 0, 0, 50, 50), 0);
    EXPECT_EQ(Driver, nullptr);
    EXPECT_EQ(TReferencePlugin::Loaded().LiveInstances(), 0u);
}
