// What both hosts offer an application, from one test source run on each driver: the movie's
// ExternalInterface call arrives as the same request and is answered the same way, functions of
// the movie are called, variables go both ways, and a movie handed over as a stream plays from
// the copy the driver took. The reference plug-in sits beside the executable, the reference
// control is registered in the test prefix.
#include "sample_movies.h"
#include "support/driver_events.h"
#include "zintara/framework/file_stream.h"
#include "zintara/framework/module_paths.h"
#include "zintara/framework/streams.h"
#include "zintara/zn_driver_activex.h"
#include "zintara/zn_driver_netscape.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <memory>
#include <string>
#include <vector>

using namespace zn;

namespace {

const std::wstring MovieName = L"hosts sample.swf";

// The movie's first frame calls movieReady("sample", 1).
const std::wstring ReadyRequest = L"<invoke name=\"movieReady\" returntype=\"xml\"><arguments>"
                                  L"<string>sample</string><number>1</number></arguments></invoke>";

void WriteSampleMovie()
{
    const std::vector<std::uint8_t> bytes = swf::samples::SampleMovie();
    TFileStream(ExecutableFolder() + MovieName, fmCreate).WriteBuffer(bytes.data(), bytes.size());
}

template <class TDriver>
class HostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        WriteSampleMovie();
        ASSERT_TRUE(TDriver::PluginExists());
        Driver = std::make_unique<TDriver>(320, 240, 0xFF000000u);
        Raised.Listen(*Driver);
    }
    void TearDown() override
    {
        Driver.reset();
        CoUninitialize();
    }

    std::unique_ptr<TDriver> Driver;
    test::TDriverEvents Raised;
};

using Drivers = ::testing::Types<TznFlashDriverNS, TznFlashDriverActiveX>;
TYPED_TEST_SUITE(HostTest, Drivers);

TYPED_TEST(HostTest, TheMoviesCallIsTheSameRequestAndItsAnswerReachesTheMovie)
{
    this->Raised.FlashCallHandler = [this](const std::wstring&) {
        this->Driver->SetReturnValue(L"<string>welcome</string>");
    };
    this->Driver->LoadMovie(MovieName);
    EXPECT_EQ(this->Raised.Requests, std::vector<std::wstring>{ReadyRequest});
    EXPECT_EQ(this->Driver->GetVariable(L"readyAnswer"), L"welcome");
}

TYPED_TEST(HostTest, FunctionsOfTheMovieAndItsVariables)
{
    this->Driver->LoadMovie(MovieName);
    EXPECT_EQ(this->Driver->CallFunction(L"<invoke name=\"echo\" returntype=\"xml\"><arguments>"
                                         L"<string>hi</string></arguments></invoke>"),
              L"<string>echo:hi</string>");
    EXPECT_EQ(this->Driver->CallFunction(L"<invoke name=\"add\" returntype=\"xml\"><arguments>"
                                         L"<number>2</number><number>3</number></arguments>"
                                         L"</invoke>"),
              L"<number>5</number>");
    this->Driver->SetVariable(L"colour", L"blue");
    EXPECT_EQ(this->Driver->GetVariable(L"colour"), L"blue");
}

// The stream is the driver's to copy at once: it is gone before the movie is played from it.
TYPED_TEST(HostTest, AMovieHandedOverAsAStreamPlaysFromItsCopy)
{
    const std::vector<std::uint8_t> bytes = swf::samples::SampleMovie();
    auto stream = std::make_unique<TMemoryStream>();
    stream->Write(bytes.data(), bytes.size());
    stream->SetPosition(0);
    this->Driver->LoadMovieFromStream(*stream);
    stream.reset();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    EXPECT_EQ(this->Raised.Requests, std::vector<std::wstring>{ReadyRequest});
    EXPECT_EQ(this->Driver->GetTotalFrames(), swf::samples::SampleFrames);
}

} // namespace
