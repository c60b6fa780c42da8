// ExternalInterface scripts from the movie and the requests the application receives.
#include "external_call.h"

#include <gtest/gtest.h>

using namespace zn::netscape;

namespace {

std::string Script(const std::string& Call)
{
    return "try { __flash__toXML(" + Call + ") ; } catch (e) { \"<undefined/>\"; }";
}

// The texts of the arguments, whatever their kinds.
std::vector<std::string> Texts(const TExternalCall& Call)
{
    std::vector<std::string> texts;
    for (const TScriptArgument& argument : Call.Arguments)
        texts.push_back(argument.Text);
    return texts;
}

} // namespace

TEST(FlashCallScript, ReadsNameAndArgumentsInOrder)
{
    const auto call = ParseFlashCallScript(Script("fn(\"a\",2)"));
    ASSERT_TRUE(call);
    EXPECT_EQ(call->Name, "fn");
    EXPECT_EQ(Texts(*call), (std::vector<std::string>{"a", "2"}));
}

TEST(FlashCallScript, EmptyParenthesesGiveNoArgumentAndEmptyQuotesAnEmptyOne)
{
    const auto none = ParseFlashCallScript(Script("fn()"));
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->Arguments.empty());

    const auto empty = ParseFlashCallScript(Script("fn(\"\")"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(Texts(*empty), std::vector<std::string>{""});
}

TEST(FlashCallScript, SplitsAQuotedArgumentAtItsComma)
{
    const auto call = ParseFlashCallScript(Script("fn(\"x,y\")"));
    ASSERT_TRUE(call);
    EXPECT_EQ(Texts(*call), (std::vector<std::string>{"x", "y\""}));
}

// The movie's texts come back as it passed them, whatever the script escaped to quote them.
TEST(FlashCallScript, QuotedArgumentsLoseTheScriptsEscapes)
{
    const auto call = ParseFlashCallScript(
        Script(R"(fn("a\"b","c\\d","l\nm\r\tn","\x41\u0042\u00e9\q","z\\",2))"));
    ASSERT_TRUE(call);
    EXPECT_EQ(Texts(*call),
              (std::vector<std::string>{"a\"b", "c\\d", "l\nm\r\tn", "AB\\u00e9q", "z\\", "2"}));

    // A comma inside quotes still splits; the escaped quote before it is text, not the end.
    const auto split = ParseFlashCallScript(Script(R"(fn("x\",y"))"));
    ASSERT_TRUE(split);
    EXPECT_EQ(Texts(*split), (std::vector<std::string>{"x\"", "y\""}));
}

TEST(FlashCallScript, WithoutTheClosingTheWholeRestIsRead)
{
    const auto call = ParseFlashCallScript("try { __flash__toXML(fn(1)");
    ASSERT_TRUE(call);
    EXPECT_EQ(call->Name, "fn");
    EXPECT_EQ(Texts(*call), std::vector<std::string>{"1"});
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
    EXPECT_EQ(Texts(*lone_quote), std::vector<std::string>{""});

    const std::string long_name(100000, 'n');
    const auto long_call = ParseFlashCallScript(Script(long_name + "(" + long_name + ")"));
    ASSERT_TRUE(long_call);
    EXPECT_EQ(long_call->Name, long_name);
    EXPECT_EQ(Texts(*long_call), std::vector<std::string>{long_name});

    const std::string with_nul("try { __flash__toXML(f\0n(1)) ; } catch (e)", 42);
    const auto nul_call = ParseFlashCallScript(with_nul);
    ASSERT_TRUE(nul_call);
    EXPECT_EQ(nul_call->Name, std::string("f\0n", 3));
}

// A literal's kind is what the application's request tells: quoted strings, numbers, booleans,
// null and undefined.
TEST(FlashCallScript, EachArgumentKeepsTheKindOfItsLiteral)
{
    using TKind = zn::TExternalArgument::TKind;
    const auto call = ParseFlashCallScript(Script("fn(\"1\",2.5,true,false,null,undefined)"));
    ASSERT_TRUE(call);
    std::vector<TKind> kinds;
    for (const TScriptArgument& argument : call->Arguments)
        kinds.push_back(argument.Kind);
    EXPECT_EQ(kinds, (std::vector<TKind>{TKind::String, TKind::Number, TKind::Boolean,
                                         TKind::Boolean, TKind::Null, TKind::Undefined}));
    EXPECT_EQ(Texts(*call),
              (std::vector<std::string>{"1", "2.5", "true", "false", "null", "undefined"}));
}
