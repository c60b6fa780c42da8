// Paint passes against a plug-in that invalidates its whole window from inside every
// NPP_SetWindow and WM_PAINT, and against handlers that free the driver in the middle of a pass.
#include "driver_fixture.h"

#include <vector>

using namespace zn;
using namespace zn::test;

class PaintPassTest : public DriverTest {
protected:
    std::vector<std::uint32_t> Pixels() const
    {
        return {Driver->BufferBits(), Driver->BufferBits() + Driver->Width() * Driver->Height()};
    }

    // Paints the sample's first frame once quietly and once with the plug-in invalidating from
    // inside every NPP_SetWindow and WM_PAINT: the pixels must be the same, and the passes few.
    // Answers the number of paint events of the hostile repaint.
    std::size_t RepaintAgainstInvalidations(std::uint32_t Background)
    {
        CreateDriverWithStoppedMovie(Background);
        Driver->ForceUpdate();
        const std::vector<std::uint32_t> quiet = Pixels();
        TReferencePlugin::Loaded().SetHostile(ZnNpHostilePaintInvalidates, nullptr);
        TakeLog();
        Erased.clear();
        Painted.clear();
        Driver->ForceUpdate();
        EXPECT_EQ(Pixels(), quiet);
        std::size_t count = 0;
        for (const std::string& line : LinesOf(TakeLog(), "NPP_HandleEvent"))
            count += Contains(line, "event=15");
        return count;
    }
};

// Each pass draws twice and asks for one more: a bounded number of passes, each reported.
TEST_F(PaintPassTest, AnInvalidationInsideATransparentPassWaitsForItsEnd)
{
    const std::size_t paints = RepaintAgainstInvalidations(0);
    EXPECT_EQ(paints, 8u);
    EXPECT_EQ(Painted.size(), 4u);
}

TEST_F(PaintPassTest, AnInvalidationInsideAnOpaquePassWaitsForItsEnd)
{
    const std::size_t paints = RepaintAgainstInvalidations(0xFF000000u);
    EXPECT_EQ(paints, 4u);
    EXPECT_EQ(Erased.size(), 4u);
    EXPECT_EQ(Painted.size(), 4u);
}

TEST_F(PaintPassTest, AnEraseHandlerMayFreeTheDriver)
{
    CreateDriverWithStoppedMovie(0xFF000000u);
    AfterEvent = [this](const std::string& Raised) {
        if (Raised == "erase")
            Driver.reset();
    };
    void* npp = Npp();
    EXPECT_EQ(TReferencePlugin::Loaded().InvalidateRect(npp, 0, 0, 50, 50), 0);
    EXPECT_EQ(Driver, nullptr);
    EXPECT_EQ(CallOrder(TakeLog()), std::vector<std::string>{"NPP_Destroy"});
}

TEST_F(PaintPassTest, APaintHandlerMayFreeTheDriverBeforeTheDeferredPass)
{
    CreateDriverWithStoppedMovie(0u);
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
