// UTF-8 both ways, as forms and exception messages use it: the same on every build.
#include "zintara/framework/text.h"

#include <gtest/gtest.h>

#include <string>

using namespace zn;
using namespace std::string_literals;

namespace {

std::wstring Units(std::initializer_list<unsigned> Codes)
{
    std::wstring text;
    for (unsigned code : Codes)
        text += static_cast<wchar_t>(code);
    return text;
}

} // namespace

TEST(Utf8, EveryLengthOfSequenceRoundTripsAsUtf16Units)
{
    const std::string utf8 = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80z"s;
    const std::wstring wide = Units({'a', 0xE9, 0x4E2D, 0xD83D, 0xDE00, 'z'});
    EXPECT_EQ(Utf8ToWide(utf8), wide);
    EXPECT_EQ(WideToUtf8(wide), utf8);
}

// One U+FFFD for each longest start of a valid sequence, or for a byte that starts none.
TEST(Utf8, MalformedSequencesBecomeReplacementCharacters)
{
    struct {
        std::string Utf8;
        std::wstring Wide;
    } cases[] = {
        {"\x80x"s, Units({0xFFFD, 'x'})},                   // continuation without a lead
        {"\xC3x"s, Units({0xFFFD, 'x'})},                   // cut short
        {"\xE4\xB8"s, Units({0xFFFD})},                     // cut short at the end
        {"\xC0\xAF"s, Units({0xFFFD, 0xFFFD})},             // overlong
        {"\xED\xA0\x80"s, Units({0xFFFD, 0xFFFD, 0xFFFD})}, // a surrogate
        {"\xF4\x90\x80\x80"s, Units({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD})}, // beyond U+10FFFF
        {"\xFF"s, Units({0xFFFD})},
    };
    for (const auto& each : cases)
        EXPECT_EQ(Utf8ToWide(each.Utf8), each.Wide) << each.Utf8;
}

TEST(Utf8, LoneSurrogatesAreWrittenAsReplacementCharacters)
{
    EXPECT_EQ(WideToUtf8(Units({0xD83D, 'x'})), "\xEF\xBF\xBDx"s);
    EXPECT_EQ(WideToUtf8(Units({0xDE00})), "\xEF\xBF\xBD"s);
}
