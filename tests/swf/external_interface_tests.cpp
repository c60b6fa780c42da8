// ExternalInterface XML: the values and requests hosts and movies exchange.
#include <gtest/gtest.h>

#include <cmath>

#include "znswf/external_interface.h"

namespace zn::swf {
namespace {

TEST(ExternalInterfaceXml, ValuesEncodeAsTheirElements)
{
    EXPECT_EQ(EncodeExternalValue(ExternalValue::String("a<b&c")), "<string>a&lt;b&amp;c</string>");
    EXPECT_EQ(EncodeExternalValue(ExternalValue::Number(2)), "<number>2</number>");
    EXPECT_EQ(EncodeExternalValue(ExternalValue::Number(-0.25)), "<number>-0.25</number>");
    EXPECT_EQ(EncodeExternalValue(ExternalValue::Boolean(true)), "<true/>");
    EXPECT_EQ(EncodeExternalValue(ExternalValue::Boolean(false)), "<false/>");
    EXPECT_EQ(EncodeExternalValue(ExternalValue::Null()), "<null/>");
    EXPECT_EQ(EncodeExternalValue(ExternalValue::Undefined()), "<undefined/>");
}

TEST(ExternalInterfaceXml, ValuesDecodeBack)
{
    for (const ExternalValue& value :
         {ExternalValue::String("x \"quoted\" 'and' <tagged> & more"), ExternalValue::String(""),
          ExternalValue::Number(1e21), ExternalValue::Number(123456.5),
          ExternalValue::Boolean(true), ExternalValue::Boolean(false), ExternalValue::Null(),
          ExternalValue::Undefined()}) {
        EXPECT_EQ(DecodeExternalValue(EncodeExternalValue(value)), value)
            << EncodeExternalValue(value);
    }
}

TEST(ExternalInterfaceXml, UnreadableValuesAreUndefined)
{
    for (const char* text : {"", "garbage", "<string>unterminated", "<object></object>", "<number"})
        EXPECT_EQ(DecodeExternalValue(text), ExternalValue::Undefined()) << text;
    EXPECT_TRUE(std::isnan(DecodeExternalValue("<number>abc</number>").number));
}

TEST(ExternalInterfaceXml, InvocationsRoundTrip)
{
    ExternalInvocation invocation{
        "fn", {ExternalValue::String("a"), ExternalValue::Number(2), ExternalValue::Null()}};
    std::string xml = EncodeExternalInvocation(invocation);
    EXPECT_EQ(xml, "<invoke name=\"fn\" "
                   "returntype=\"xml\"><arguments><string>a</string><number>2</number><null/>"
                   "</arguments></invoke>");
    auto decoded = DecodeExternalInvocation(xml);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->name, "fn");
    EXPECT_EQ(decoded->arguments, invocation.arguments);
}

TEST(ExternalInterfaceXml, HostRequestsWithUnescapedStringArgumentsDecode)
{
    // Hosts write every argument as a string element, as typed, without escaping.
    auto decoded = DecodeExternalInvocation(
        "<invoke name=\"setVolume\" returntype=\"XML\"><arguments><string>50 & "
        "up</string><string></string>"
        "</arguments></invoke>");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->name, "setVolume");
    ASSERT_EQ(decoded->arguments.size(), 2u);
    EXPECT_EQ(decoded->arguments[0], ExternalValue::String("50 & up"));
    EXPECT_EQ(decoded->arguments[1], ExternalValue::String(""));
    auto bare = DecodeExternalInvocation(
        "<invoke name=\"pause\" returntype=\"xml\"><arguments></arguments></invoke>");
    ASSERT_TRUE(bare);
    EXPECT_TRUE(bare->arguments.empty());
}

TEST(ExternalInterfaceXml, RequestsWithoutAnArgumentsElementHaveNoArguments)
{
    for (const char* text : {"<invoke name=\"stopflv\" returntype=\"xml\"></invoke>",
                             "<invoke name=\"stopflv\" returntype=\"xml\"/>"}) {
        auto decoded = DecodeExternalInvocation(text);
        ASSERT_TRUE(decoded) << text;
        EXPECT_EQ(decoded->name, "stopflv");
        EXPECT_TRUE(decoded->arguments.empty());
    }
}

TEST(ExternalInterfaceXml, NonRequestsAreRejected)
{
    for (const char* text :
         {"", "<invoke>", "<invoke name=\"\"></invoke>", "<call name=\"f\"/>", "<invoke name=\"f"})
        EXPECT_FALSE(DecodeExternalInvocation(text)) << text;
}

TEST(ExternalInterfaceXml, NumbersPrintAsMoviesPrintThem)
{
    EXPECT_EQ(FormatNumber(3), "3");
    EXPECT_EQ(FormatNumber(-0.0), "0");
    EXPECT_EQ(FormatNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatNumber(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FormatNumber(std::nan("")), "NaN");
    EXPECT_EQ(FormatNumber(-INFINITY), "-Infinity");
}

} // namespace
} // namespace zn::swf
