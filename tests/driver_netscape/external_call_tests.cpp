// ExternalInterface scripts from the movie and the requests the application receives.
#include "external_call.h"

#include <gtest/gtest.h>

using namespace zn::netscape;

namespace {

std::string Script(const std::string& Call)
{
    return "try { __flash__toXML(" + Call + ") ; } catch (e) { \"<undefined/>\"; }";
}

} // namespace

TEST(FlashCallScript, ReadsNameAndArgumentsInOrder)
{
    const auto call = ParseFlashCallScript(Script("fn(\"a\",2)"));
    ASSERT_TRUE(call);
    EXPECT_EQ(call->Name, "fn");
    EXPECT_EQ(call->Arguments, (std::vector<std::string>{"a", "2"}));
}

TEST(FlashCallScript, EmptyParenthesesGiveNoArgumentAndEmptyQuotesAnEmptyOne)
{
    const auto none = ParseFlashCallScript(Script("fn()"));
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->Arguments.empty());

    const auto empty = ParseFlashCallScript(Script("fn(\"\")"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Arguments, std::vector<std::string>{""});
}

TEST(FlashCallScript, SplitsAQuotedArgumentAtItsComma)
{
    const auto call = ParseFlashCallScript(Script("fn(\"x,y\")"));
    ASSERT_TRUE(call);
    EXPECT_EQ(call->Arguments, (std::vector<std::string>{"x", "y\""}));
}

// The movie's texts come back as it passed them, whatever the script escaped to quote them.
TEST(FlashCallScript, QuotedArgumentsLoseTheScriptsEscapes)
{
    const auto call = ParseFlashCallScript(
        Script(R"(fn("a\"b","c\\d","l\nm\r\tn","\x41\u0042\u00e9\q","z\\",2))"));
    ASSERT_TRUE(call);
    EXPECT_EQ(call->Arguments,
              (std::vector<std::string>{"a\"b", "c\\d", "l\nm\r\tn", "AB\\u00e9q", "z\\", "2"}));

    // A comma inside quotes still splits; the escaped quote before it is text, not the end.
    const auto split = ParseFlashCallScript(Script(R"(fn("x\",y"))"));
    ASSERT_TRUE(split);
    EXPECT_EQ(split->Arguments, (std::vector<std::string>{"x\"", "y\""}));
}

TEST(FlashCallScript, WithoutTheClosingTheWholeRestIsRead)
{
    const auto call = ParseFlashCallScript("try { __flash__toXML(fn(1)");
    ASSERT_TRUE(call);
    EXPECT_EQ(call->Name, "fn");
    EXPECT_EQ(call->Arguments, std::vector<std::string>{"1"});
}

TEST(FlashCallScript, OtherScriptsAreNoCalls)
{
    EXPECT_FALSE(ParseFlashCallScript("window.location.href"));
    EXPECT_FALSE(ParseFlashCallScript(" try { __flash__toXML(fn())"));
    EXPECT_FALSE(ParseFlashCallScript(""));
}

TEST(FlashCallScript, BrokenScriptsGiveSomethingHarmless)
{
    const auto bare = ParseFlashCallScript("try { __flash__toXML(");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->Name, "");
    EXPECT_TRUE(bare->Arguments.empty());

    const auto lone_quote = ParseFlashCallScript(Script("fn(\")"));
    ASSERT_TRUE(lone_quote);
    EXPECT_EQ(lone_quote->Arguments, std::vector<std::string>{""});

    const std::string long_name(100000, 'n');
    const auto long_call = ParseFlashCallScript(Script(long_name + "(" + long_name + ")"));
    ASSERT_TRUE(long_call);
    EXPECT_EQ(long_call->Name, long_name);
    EXPECT_EQ(long_call->Arguments, std::vector<std::string>{long_name});

    const std::string with_nul("try { __flash__toXML(f\0n(1)) ; } catch (e)", 42);
    const auto nul_call = ParseFlashCallScript(with_nul);
    ASSERT_TRUE(nul_call);
    EXPECT_EQ(nul_call->Name, std::string("f\0n", 3));
}
