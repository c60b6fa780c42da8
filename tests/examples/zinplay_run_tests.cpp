// zinplay run as users run it: a child process on the sample movie beside it, its transcript
// read line by line and its PNG files read back and checked against the sample's geometry.
#include "support/child_process.h"
#include "zintara/framework/handles.h"
#include "support/png_reader.h"

#include "sample_movies.h"
#include "sample_video.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

namespace zn::test {
namespace {

namespace samples = zn::swf::samples;

// The build gives zinplay's Unix path; Wine's drive Z: is the Unix root.
std::wstring ZinplayPath()
{
    std::wstring path;
    for (const char c : std::string(ZINPLAY_EXE))
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path.rfind(L"\\", 0) == 0 ? L"Z:" + path : path;
}

std::wstring FolderOf(const std::wstring& Path)
{
    return Path.substr(0, Path.find_last_of(L'\\'));
}

std::string Narrow(const std::wstring& Text)
{
    return std::string(Text.begin(), Text.end());
}

struct TChannels {
    int A, R, G, B;
};

TChannels Channels(std::uint32_t Pixel)
{
    return {static_cast<int>(Pixel >> 24), static_cast<int>((Pixel >> 16) & 0xFF),
            static_cast<int>((Pixel >> 8) & 0xFF), static_cast<int>(Pixel & 0xFF)};
}

::testing::AssertionResult Near(std::uint32_t Pixel, TChannels Expected, int Tolerance)
{
    const TChannels got = Channels(Pixel);
    if (std::abs(got.A - Expected.A) <= Tolerance && std::abs(got.R - Expected.R) <= Tolerance &&
        std::abs(got.G - Expected.G) <= Tolerance && std::abs(got.B - Expected.B) <= Tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "ARGB " << got.A << "," << got.R << "," << got.G << "," << got.B << " instead of "
           << Expected.A << "," << Expected.R << "," << Expected.G << "," << Expected.B;
}

class ZinplayRun : public ::testing::Test {
protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override
    {
        RemoveFolder(Frames);
        CoUninitialize();
    }

    TChildResult Zinplay(std::vector<std::wstring> Arguments)
    {
        Arguments.insert(Arguments.end(), HostArguments.begin(), HostArguments.end());
        TChildResult run = RunChild(ZinplayPath(), Arguments, FolderOf(ZinplayPath()));
        run.Output = WithoutCarriageReturns(run.Output);
        run.Errors = WithoutCarriageReturns(run.Errors);
        return run;
    }

    // CurrentFrame of each picture, by its number in the run, from the transcript.
    static std::map<int, int> FramesOf(const std::string& Output)
    {
        std::map<int, int> frames;
        const std::regex line(R"(frame (\d+): CurrentFrame (\d+),)");
        for (std::sregex_iterator at(Output.begin(), Output.end(), line), end; at != end; ++at)
            frames[std::stoi((*at)[1])] = std::stoi((*at)[2]);
        return frames;
    }

    // With a space, so that the folder reaches zinplay quoted.
    const std::wstring Frames = TestFolder() + L"zinplay frames";
    // Added to every command line: the host a run asks for.
    std::vector<std::wstring> HostArguments;
};

// The runs that play, once through each Flash host: the reference control registered in the
// prefix, the reference plug-in beside zinplay.
class ZinplayHostRun : public ZinplayRun, public ::testing::WithParamInterface<const wchar_t*> {
protected:
    void SetUp() override
    {
        ZinplayRun::SetUp();
        HostArguments = {L"--host", GetParam()};
    }
};

INSTANTIATE_TEST_SUITE_P(Hosts, ZinplayHostRun, ::testing::Values(L"activex", L"netscape"),
                         [](const auto& Info) { return Narrow(Info.param); });

TEST_P(ZinplayHostRun, PlaysTheSampleAndPrintsTheExchangeBothWays)
{
    const TChildResult run = Zinplay({L"--frames", L"12"});
    ASSERT_FALSE(run.TimedOut);
    ASSERT_EQ(run.ExitCode, 0u) << run.Errors;
    const std::string& out = run.Output;
    const std::string host =
        Narrow(GetParam()) == "activex" ? "the ActiveX control" : "the Netscape plug-in";
    EXPECT_NE(out.find("zinplay: through " + host + "\n"), std::string::npos) << out;
    // The movie's call in its first frame, zinplay's answer, and the movie keeping it. Each host
    // writes the request its own way: the number as a string or a number.
    const std::regex ready(
        "movie -> zinplay  call    <invoke name=\"movieReady\" returntype=\"(XML|xml)\">"
        "<arguments><string>sample</string>(<string>1</string>|<number>1</number>)</arguments>"
        "</invoke>\nzinplay -> movie  answer  <string>hello from zinplay</string>\n");
    EXPECT_TRUE(std::regex_search(out, ready)) << out;
    EXPECT_NE(out.find("movie variable readyAnswer = hello from zinplay\n"), std::string::npos)
        << out;
    // zinplay's call of the callback the movie registered, after the first picture.
    const auto echo =
        out.find("zinplay -> movie  call    <invoke name=\"echo\" returntype=\"xml\"><arguments>"
                 "<string>zinplay is listening</string></arguments></invoke>\n"
                 "movie -> zinplay  answer  <string>echo:zinplay is listening</string>\n");
    EXPECT_NE(echo, std::string::npos) << out;
    EXPECT_GT(echo, out.find("frame 1: "));
    // Twelve pictures cover frames 4 and 8 of the movie and their FSCommands, in that order,
    // with room for a few pictures of a busy machine that stood still.
    const auto middle = out.find("movie -> zinplay  FSCommand \"reached\" \"middle\"\n");
    const auto end = out.find("movie -> zinplay  FSCommand \"reached\" \"end\"\n");
    EXPECT_NE(middle, std::string::npos) << out;
    EXPECT_NE(end, std::string::npos) << out;
    EXPECT_LT(middle, end);
    const std::map<int, int> frames = FramesOf(out);
    ASSERT_EQ(frames.size(), 12u) << out;
    EXPECT_EQ(frames.begin()->first, 1);
    EXPECT_EQ(frames.at(1), 0);
    EXPECT_NE(out.find("zinplay: played 12 frames\n"), std::string::npos);
    EXPECT_TRUE(run.Errors.empty()) << run.Errors;
}

// A video plays through the library's playback movie: its frames fill the pictures and advance.
TEST_P(ZinplayHostRun, PlaysAVideoThroughThePlaybackMovie)
{
    const std::wstring clip = TestFolder() + L"zinplay clip.flv";
    {
        const std::vector<std::uint8_t> video = samples::SampleVideo(48);
        std::ofstream(std::filesystem::path(clip), std::ios::binary)
            .write(reinterpret_cast<const char*>(video.data()),
                   static_cast<std::streamsize>(video.size()));
    }
    const TChildResult run = Zinplay({clip, L"--size", L"550x400", L"--frames", L"8", L"--skin",
                                      L"SteelOverAll", L"--volume", L"80", L"--png", Frames});
    DeleteFileW(clip.c_str());
    ASSERT_EQ(run.ExitCode, 0u) << run.Errors;
    const auto band_pixels = [&](const TStraightImage& Image) {
        const swf::Rgba band = samples::SampleVideoBands[0];
        return std::count_if(Image.Pixels.begin(), Image.Pixels.end(), [&](std::uint32_t Pixel) {
            return Near(Pixel, {255, band.red, band.green, band.blue}, 2);
        });
    };
    const TStraightImage first = ReadPng(Frames + L"\\frame-002.png");
    const TStraightImage last = ReadPng(Frames + L"\\frame-008.png");
    ASSERT_EQ(last.Width, 550);
    EXPECT_GT(band_pixels(last), 5000) << "no video in the picture";
    EXPECT_NE(first.Pixels, last.Pixels) << "the video stands still";
}

// A quoted folder given with its trailing backslash reaches zinplay as one argument, the arguments
// after it intact.
TEST_F(ZinplayRun, AFolderEndingInABackslashIsOneArgument)
{
    const TChildResult run = Zinplay({L"--png", Frames + L"\\", L"--frames", L"1"});
    ASSERT_EQ(run.ExitCode, 0u) << run.Errors;
    EXPECT_TRUE(FileExists(Frames + L"\\frame-001.png"));
    EXPECT_FALSE(FileExists(Frames + L"\\frame-002.png"));
}

// Each picture against the sample's geometry at the frame the transcript gives: the background
// is fully transparent, the square opaque green, the half-transparent circle straight red with
// alpha 128 beside the square and blended over it, the triangle from frame 5 on, and nothing left
// behind where the circle was before.
TEST_P(ZinplayHostRun, WritesEveryPictureAsAPngWithItsRealAlpha)
{
    const TChildResult run = Zinplay({L"--frames", L"12", L"--png", Frames});
    ASSERT_EQ(run.ExitCode, 0u) << run.Errors;
    const std::map<int, int> frames = FramesOf(run.Output);
    ASSERT_EQ(frames.size(), 12u) << run.Output;
    EXPECT_FALSE(FileExists(Frames + L"\\frame-013.png"));

    const TChannels clear{0, 0, 0, 0}, green{255, 0, 180, 0}, yellow{255, 255, 220, 0};
    const TChannels half_red{128, 255, 0, 0}, red_over_green{255, 128, 90, 0};
    for (const auto& [picture, frame] : frames) {
        SCOPED_TRACE("picture " + std::to_string(picture) + ", CurrentFrame " +
                     std::to_string(frame));
        wchar_t name[32];
        swprintf(name, 32, L"\\frame-%03d.png", picture);
        const TStraightImage image = ReadPng(Frames + name);
        ASSERT_EQ(image.Width, samples::SampleWidth);
        ASSERT_EQ(image.Height, samples::SampleHeight);
        const int x = samples::SampleCircleX(frame), y = samples::SampleCircleY;

        EXPECT_TRUE(Near(image.At(5, 5), clear, 0));
        EXPECT_TRUE(Near(image.At(310, 230), clear, 0));
        EXPECT_TRUE(Near(image.At(120, 60), green, 1));
        if (frame == 0)
            EXPECT_TRUE(Near(image.At(30, y), half_red, 2));
        else if (frame <= 4)
            EXPECT_TRUE(Near(image.At(x, y), red_over_green, 3));
        else
            EXPECT_TRUE(Near(image.At(215, y), half_red, 2));
        if (frame >= 1) {
            EXPECT_TRUE(Near(image.At(x - 42, y), green, 1)) << "left behind by the circle";
        }
        if (frame >= 4) {
            EXPECT_TRUE(Near(image.At(265, 130), yellow, 1));
        } else {
            EXPECT_TRUE(Near(image.At(265, 130), clear, 0));
            EXPECT_TRUE(Near(image.At(235, 95), clear, 0)) << "left behind by the last frame";
        }
    }
}

TEST_P(ZinplayHostRun, OpaqueModeShowsTheBackgroundColourAtAnySize)
{
    const TChildResult run =
        Zinplay({L"--opaque", L"--size", L"160x120", L"--frames", L"2", L"--png", Frames});
    ASSERT_EQ(run.ExitCode, 0u) << run.Errors;
    EXPECT_NE(run.Output.find("at 160x120, opaque, 2 frames"), std::string::npos) << run.Output;
    const TStraightImage image = ReadPng(Frames + L"\\frame-002.png");
    ASSERT_EQ(image.Width, 160);
    ASSERT_EQ(image.Height, 120);
    // Half size: the square spans (20, 20)-(100, 100), the circle stays within y 40..80.
    EXPECT_TRUE(Near(image.At(3, 3), {255, 255, 255, 255}, 0));
    EXPECT_TRUE(Near(image.At(150, 110), {255, 255, 255, 255}, 0));
    EXPECT_TRUE(Near(image.At(60, 25), {255, 0, 180, 0}, 1));
}

TEST_F(ZinplayRun, RefusesBadArgumentsWithUsage)
{
    for (const std::vector<std::wstring>& arguments :
         {std::vector<std::wstring>{L"--frames", L"0"}, {L"--size", L"big"}, {L"--loud"}}) {
        const TChildResult run = Zinplay(arguments);
        EXPECT_EQ(run.ExitCode, 2u) << Narrow(arguments[0]);
        EXPECT_NE(run.Errors.find("zinplay: "), std::string::npos) << run.Errors;
        EXPECT_NE(run.Errors.find("usage: zinplay"), std::string::npos) << run.Errors;
        EXPECT_TRUE(run.Output.empty()) << run.Output;
    }
}

TEST_F(ZinplayRun, AMissingMovieOrAFileThatIsNoMovieFails)
{
    const TChildResult missing = Zinplay({L"no such movie.swf"});
    EXPECT_EQ(missing.ExitCode, 1u);
    EXPECT_NE(missing.Errors.find("zinplay: no movie file at "), std::string::npos)
        << missing.Errors;
    EXPECT_NE(missing.Errors.find("no such movie.swf"), std::string::npos) << missing.Errors;

    const std::wstring text = TestFolder() + L"not-a-movie.swf";
    {
        std::ofstream(std::filesystem::path(text), std::ios::binary)
            << "This is a letter, not a movie.";
    }
    const TChildResult not_a_movie = Zinplay({text, L"--png", Frames});
    DeleteFileW(text.c_str());
    EXPECT_EQ(not_a_movie.ExitCode, 1u) << not_a_movie.Output;
    EXPECT_NE(not_a_movie.Errors.find("zinplay: the player could not play "), std::string::npos)
        << not_a_movie.Errors;
    EXPECT_FALSE(FileExists(Frames + L"\\frame-001.png"));
}

TEST_F(ZinplayRun, PlaysAMovieWhoseNameTheCodePageCannotCarry)
{
    const std::wstring movie = TestFolder() + L"\u0444\u0438\u043b\u044c\u043c.swf";
    ASSERT_TRUE(
        CopyFileW((FolderOf(ZinplayPath()) + L"\\sample.swf").c_str(), movie.c_str(), FALSE));
    const TChildResult run = Zinplay({movie, L"--frames", L"2"});
    DeleteFileW(movie.c_str());
    EXPECT_EQ(run.ExitCode, 0u) << run.Errors;
    EXPECT_NE(run.Output.find("zinplay: played 2 frames\n"), std::string::npos) << run.Output;
}

// A movie file that exists but cannot be read is named as such; the movie is not blamed.
TEST_F(ZinplayRun, AMovieFileThatCannotBeReadIsNamed)
{
    const std::wstring movie = TestFolder() + L"locked-movie.swf";
    ASSERT_TRUE(
        CopyFileW((FolderOf(ZinplayPath()) + L"\\sample.swf").c_str(), movie.c_str(), FALSE));
    const HANDLE lock =
        CreateFileW(movie.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const TChildResult run = Zinplay({movie});
    CloseHandle(lock);
    DeleteFileW(movie.c_str());
    EXPECT_EQ(run.ExitCode, 1u);
    EXPECT_NE(run.Errors.find("zinplay: cannot read the movie file"), std::string::npos)
        << run.Errors;
    EXPECT_NE(run.Errors.find("locked-movie.swf"), std::string::npos) << run.Errors;
    EXPECT_EQ(run.Errors.find("could not play"), std::string::npos) << run.Errors;
}

// Without a host named, the library picks: the ActiveX control, registered in the prefix.
TEST_F(ZinplayRun, TheLibraryPicksTheRegisteredControl)
{
    const TChildResult run = Zinplay({L"--frames", L"1"});
    ASSERT_EQ(run.ExitCode, 0u) << run.Errors;
    EXPECT_NE(run.Output.find("zinplay: through the ActiveX control\n"), std::string::npos)
        << run.Output;
}

// zinplay copied where no plug-in lies beside it, asked for the plug-in. The registry value the
// plug-in's installer writes would point elsewhere; the driver's discovery tests write it for a
// moment.
TEST_F(ZinplayRun, WithoutTheFlashPlayerAskedForSaysSo)
{
    TRegistryKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MozillaPlugins\\@zintara.test/FlashTest", 0,
                      KEY_READ, key.put()) == ERROR_SUCCESS) {
        GTEST_SKIP() << "a plug-in is registered in this prefix";
    }
    const std::wstring alone = TestFolder() + L"zinplay-alone";
    CreateDirectoryW(alone.c_str(), nullptr);
    const std::wstring program = alone + L"\\zinplay.exe";
    ASSERT_TRUE(CopyFileW(ZinplayPath().c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((FolderOf(ZinplayPath()) + L"\\sample.swf").c_str(),
                          (alone + L"\\sample.swf").c_str(), FALSE));
    const TChildResult run = RunChild(program, {L"--host", L"netscape"}, alone);
    RemoveFolder(alone);
    EXPECT_EQ(run.ExitCode, 1u) << run.Output;
    EXPECT_NE(run.Errors.find("zinplay: no Flash Player found for --host netscape"),
              std::string::npos)
        << run.Errors;
}

} // namespace
} // namespace zn::test
