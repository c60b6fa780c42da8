// zinplay's pure parts: its command line, straight alpha for PNG files, and its side of
// ExternalInterface.
#include "external_calls.h"
#include "play_options.h"
#include "straight_alpha.h"
#include "zintara/core/external_interface.h"

#include <gtest/gtest.h>

namespace zn::zinplay {
namespace {

TParsedOptions Parse(std::vector<std::wstring> Arguments)
{
    return ParsePlayOptions(Arguments);
}

TEST(ZinplayOptions, DefaultsPlayTheSampleTransparentWithoutFiles)
{
    const TParsedOptions parsed = Parse({});
    ASSERT_TRUE(parsed.Options);
    EXPECT_EQ(parsed.Options->Frames, 24);
    EXPECT_EQ(parsed.Options->Width, 320);
    EXPECT_EQ(parsed.Options->Height, 240);
    EXPECT_FALSE(parsed.Options->Opaque);
    EXPECT_TRUE(parsed.Options->PngFolder.empty());
    EXPECT_TRUE(parsed.Options->Movie.empty());
    EXPECT_EQ(parsed.Options->Host, THost::Default);
}

TEST(ZinplayOptions, EveryOptionAndTheMovieInAnyOrder)
{
    const TParsedOptions parsed = Parse(
        {L"--png", L"out\\frames", L"my movie.swf", L"--opaque", L"--size", L"640X480", L"--frames",
         L"100000", L"--host", L"netscape", L"--skin", L"SteelOverAll", L"--volume", L"0"});
    ASSERT_TRUE(parsed.Options) << parsed.Error;
    EXPECT_EQ(parsed.Options->PngFolder, L"out\\frames");
    EXPECT_EQ(parsed.Options->Movie, L"my movie.swf");
    EXPECT_TRUE(parsed.Options->Opaque);
    EXPECT_EQ(parsed.Options->Width, 640);
    EXPECT_EQ(parsed.Options->Height, 480);
    EXPECT_EQ(parsed.Options->Frames, MaxFrames);
    EXPECT_EQ(parsed.Options->Host, THost::Netscape);
    EXPECT_EQ(parsed.Options->Skin, L"SteelOverAll");
    EXPECT_EQ(parsed.Options->Volume, 0);
    EXPECT_EQ(Parse({L"--host", L"activex"}).Options->Host, THost::ActiveX);
    EXPECT_FALSE(Parse({}).Options->Volume);
}

TEST(ZinplayOptions, RefusesWhatItCannotUseAndSaysWhy)
{
    const std::vector<std::pair<std::vector<std::wstring>, std::wstring>> refused{
        {{L"--frames"}, L"--frames needs a value"},
        {{L"--frames", L"0"}, L"\"0\""},
        {{L"--frames", L"-3"}, L"\"-3\""},
        {{L"--frames", L"100001"}, L"\"100001\""},
        {{L"--frames", L"99999999999999999999"}, L"\"99999999999999999999\""},
        {{L"--frames", L"12a"}, L"\"12a\""},
        {{L"--size", L"320"}, L"--size wants WIDTHxHEIGHT"},
        {{L"--size", L"x240"}, L"\"x240\""},
        {{L"--size", L"320x0"}, L"\"320x0\""},
        {{L"--size", L"4097x10"}, L"\"4097x10\""},
        {{L"--size", L"10x10x10"}, L"\"10x10x10\""},
        {{L"--png", L""}, L"--png needs a folder"},
        {{L"--host"}, L"--host needs a value"},
        {{L"--host", L"ActiveX"}, L"--host wants activex or netscape, not \"ActiveX\""},
        {{L"--skin", L""}, L"--skin needs a name"},
        {{L"--volume", L"101"}, L"--volume wants a whole number from 0 to 100, not \"101\""},
        {{L"--volume", L"-1"}, L"\"-1\""},
        {{L"--volume"}, L"--volume needs a value"},
        {{L"--fast"}, L"unknown option \"--fast\""},
        {{L"a.swf", L"b.swf"}, L"one movie at a time"},
        {{L""}, L"the movie name is empty"},
    };
    for (const auto& [arguments, reason] : refused) {
        const TParsedOptions parsed = Parse(arguments);
        EXPECT_FALSE(parsed.Options) << arguments[0];
        EXPECT_NE(parsed.Error.find(reason), std::wstring::npos)
            << "error \"" << std::string(parsed.Error.begin(), parsed.Error.end()) << "\"";
    }
}

TEST(ZinplayOptions, FrameFilesAreNumberedFromOneWithThreeDigitsAtLeast)
{
    EXPECT_EQ(FrameFileName(1), L"frame-001.png");
    EXPECT_EQ(FrameFileName(42), L"frame-042.png");
    EXPECT_EQ(FrameFileName(12345), L"frame-12345.png");
}

TEST(ZinplayStraightAlpha, OpaqueAndEmptyPixelsAndRounding)
{
    EXPECT_EQ(StraightAlphaPixel(0xFF123456u), 0xFF123456u);
    EXPECT_EQ(StraightAlphaPixel(0x00000000u), 0x00000000u);
    // Colour without coverage is noise, not a colour.
    EXPECT_EQ(StraightAlphaPixel(0x00FFFFFFu), 0x00000000u);
    // Half-covered red: 128 * 255 / 128.
    EXPECT_EQ(StraightAlphaPixel(0x80800000u), 0x80FF0000u);
    // 0x40 at alpha 0x7F: 64 * 255 / 127 = 128.5... rounds to 129 (0x81).
    EXPECT_EQ(StraightAlphaPixel(0x7F400000u), 0x7F810000u);
    // A channel above its alpha is no valid premultiplied pixel; it still gives a colour.
    EXPECT_EQ(StraightAlphaPixel(0x10FF2010u), 0x10FFFFFFu);
}

TEST(ZinplayStraightAlpha, PremultiplyingAgainGivesBackEveryValidPixel)
{
    for (std::uint32_t alpha = 1; alpha <= 255; ++alpha)
        for (std::uint32_t value = 0; value <= alpha; ++value) {
            const std::uint32_t straight =
                (StraightAlphaPixel(alpha << 24 | value << 16 | value) >> 16) & 0xFFu;
            ASSERT_EQ((straight * alpha + 127) / 255, value) << "alpha " << alpha;
        }
}

TEST(ZinplayStraightAlpha, WholeImagesInPlace)
{
    std::uint32_t pixels[] = {0x80800000u, 0xFF00FF00u, 0x00000010u};
    ToStraightAlpha(pixels, pixels, 3);
    EXPECT_EQ(pixels[0], 0x80FF0000u);
    EXPECT_EQ(pixels[1], 0xFF00FF00u);
    EXPECT_EQ(pixels[2], 0u);
}

TEST(ZinplayExternalCalls, TheFunctionNameOfARequestFromTheMovie)
{
    EXPECT_EQ(InvokedFunctionName(L"<invoke name=\"movieReady\" returntype=\"XML\"><arguments>"
                                  L"<string>sample</string></arguments></invoke>"),
              L"movieReady");
    EXPECT_EQ(InvokedFunctionName(BuildInvokeRequest(L"a&b\"c", {})), L"a&b\"c");
    EXPECT_EQ(InvokedFunctionName(L"<invoke name=\"\">"), L"");
    EXPECT_EQ(InvokedFunctionName(L"<invoke name=\"unterminated"), L"");
    EXPECT_EQ(InvokedFunctionName(L"movieReady"), L"");
    EXPECT_EQ(InvokedFunctionName(L""), L"");
    EXPECT_EQ(InvokedFunctionName(L"<invoke name=\"&amp\">"), L"&amp");
}

TEST(ZinplayExternalCalls, TheSampleIsGreetedAndOtherCallsAreUnknown)
{
    EXPECT_EQ(AnswerTo(L"movieReady"), L"<string>hello from zinplay</string>");
    EXPECT_EQ(AnswerTo(L"movieready"), L"<undefined/>");
    EXPECT_EQ(AnswerTo(L""), L"<undefined/>");
    EXPECT_EQ(StringValue(L"a<b"), L"<string>a&lt;b</string>");
}

} // namespace
} // namespace zn::zinplay
