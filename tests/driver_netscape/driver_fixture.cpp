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
    Driver->SetOnEraseBackground(TznEraseBackgroundEvent::Bind<&DriverTest::OnErase>(this));
    Driver->SetOnPaint(TznPaintEvent::Bind<&DriverTest::OnPaint>(this));
    Driver->SetOnFSCommand(TznFSCommandEvent::Bind<&DriverTest::OnFSCommand>(this));
    Driver->SetOnFlashCall(TznFlashCallEvent::Bind<&DriverTest::OnFlashCall>(this));
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

void DriverTest::OnErase(TObject* Sender, const TRect& Rect)
{
    EXPECT_EQ(Sender, Driver.get());
    Events.push_back("erase");
    Erased.push_back(Rect);
    FillLongwordRect(Driver->BufferBits(), Driver->Width(), Driver->Height(), Rect.Left, Rect.Top,
                     Rect.Right, Rect.Bottom, EraseColor);
    if (AfterEvent)
        AfterEvent("erase");
}

void DriverTest::OnPaint(TObject* Sender, const TRect& Rect)
{
    EXPECT_EQ(Sender, Driver.get());
    Events.push_back("paint");
    Painted.push_back(Rect);
    if (AfterEvent)
        AfterEvent("paint");
}

void DriverTest::OnFSCommand(TObject*, const std::wstring& Command, const std::wstring& Args)
{
    Events.push_back("fscommand");
    Requests.push_back(Command + L"|" + Args);
    if (AfterEvent)
        AfterEvent("fscommand");
}

void DriverTest::OnFlashCall(TObject*, const std::wstring& Request)
{
    Events.push_back("flashcall");
    Requests.push_back(Request);
    if (FlashCallHandler)
        FlashCallHandler(Request);
    if (AfterEvent)
        AfterEvent("flashcall");
}

} // namespace zn::test
