// The end-to-end fixture (see driver_fixture.h).
#include "driver_fixture.h"

#include "sample_movies.h"

namespace zn::test {

std::vector<std::uint8_t> SampleMovieBytes()
{
    static const std::vector<std::uint8_t> bytes = zn::swf::samples::SampleMovie();
    return bytes;
}

void WriteSampleMovies()
{
    static const bool written = [] {
        WriteBytes(ExecutableFolder() + SampleMovieName, SampleMovieBytes());
        WriteBytes(ExecutableFolder() + SpacedMovieName, SampleMovieBytes());
        return true;
    }();
    (void)written;
}

void DriverTest::SetUp()
{
    ASSERT_TRUE(TznFlashDriverNS::PluginExists());
    WriteSampleMovies();
    TakeLog();
    TakeViolations();
}

void DriverTest::TearDown()
{
    Driver.reset();
    TReferencePlugin::Loaded().SetHostile(0, nullptr);
    EXPECT_EQ(TReferencePlugin::Loaded().LiveInstances(), 0u);
    EXPECT_EQ(TakeViolations(), std::vector<std::string>{});
}

void DriverTest::CreateDriver(std::uint32_t Background, int Width, int Height)
{
    Driver = std::make_unique<TznFlashDriverNS>(Width, Height, Background);
    Listen(*Driver);
    TakeLog();
}

void DriverTest::CreateDriverWithStoppedMovie(std::uint32_t Background)
{
    CreateDriver(Background);
    Driver->LoadMovie(SampleMovieName);
    Driver->StopPlay();
    Events.clear();
    Requests.clear();
    Erased.clear();
    Painted.clear();
    TakeLog();
}

} // namespace zn::test
