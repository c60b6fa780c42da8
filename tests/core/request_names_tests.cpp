// Names a player requests: tokens, prefixes, query pairs, escapes, file parts and stream
// tokens, including names no honest movie would make.
#include "zintara/core/request_names.h"

#include <gtest/gtest.h>

using namespace zn;

TEST(ReadToken, StopsAtTheFirstDelimiterAndConsumesIt)
{
    std::string text = "  fn ( a, b)";
    EXPECT_EQ(ReadToken(text, "("), "fn");
    EXPECT_EQ(text, "a, b)");
    EXPECT_EQ(ReadToken(text, ",)"), "a");
    EXPECT_EQ(ReadToken(text, ",)"), "b");
    EXPECT_EQ(text, "");
}

TEST(ReadToken, TakesEverythingWithoutADelimiterAndKnowsNoQuoting)
{
    std::string text = "\t whole text \r\n";
    EXPECT_EQ(ReadToken(text, "?"), "whole text");
    EXPECT_EQ(text, "");

    text = "\"a,b\",c";
    EXPECT_EQ(ReadToken(text, ","), "\"a");
    EXPECT_EQ(text, "b\",c");
}

TEST(ReadToken, EmptyTextGivesAnEmptyToken)
{
    std::string text;
    EXPECT_EQ(ReadToken(text, ","), "");
    EXPECT_EQ(text, "");
}

TEST(ResolveRequest, RemovesThePseudoHostAndTheFileScheme)
{
    EXPECT_EQ(ResolveRequest("http://zintara/movie.swf").Name, "/movie.swf");
    EXPECT_EQ(ResolveRequest("file:///C:/movies/a%20b.swf").Name, "C:/movies/a%20b.swf");
    EXPECT_EQ(ResolveRequest("http://zintarafile:///x.swf").Name, "x.swf");
    EXPECT_EQ(ResolveRequest("HTTP://zintara/movie.swf").Name, "HTTP://zintara/movie.swf");
}

TEST(ResolveRequest, SplitsTheQueryIntoPairsInOrder)
{
    const TResolvedRequest request = ResolveRequest("movie.swf ? lang = en & level=2");
    EXPECT_EQ(request.Name, "movie.swf");
    const TQueryPairs expected{{"lang", "en"}, {"level", "2"}};
    EXPECT_EQ(request.Query, expected);
}

TEST(ResolveRequest, KeepsEscapesInPairsAndAcceptsPairsWithoutValue)
{
    const TResolvedRequest request = ResolveRequest("a.swf?x=%20&flag");
    EXPECT_EQ(request.Name, "a.swf");
    const TQueryPairs expected{{"x", "%20"}, {"flag", ""}};
    EXPECT_EQ(request.Query, expected);
}

TEST(ResolveRequest, LeavesHttpUrlsWhole)
{
    const std::string url = "http://127.0.0.1:8080/data.xml?a=1&b=2";
    const TResolvedRequest request = ResolveRequest(url);
    EXPECT_EQ(request.Name, url);
    EXPECT_TRUE(request.Query.empty());
    EXPECT_TRUE(IsHttpUrl(request.Name));
    // Anywhere in the name, "http:" keeps the query whole.
    EXPECT_TRUE(ResolveRequest("/redirect?to=http://x/").Query.empty());
}

TEST(DecodeName, DecodesOnlyTheFileNameEscapesIgnoringCase)
{
    EXPECT_EQ(DecodeName("a%20b%2D%2fc%3F%3d%26"), "a b-/c?=&");
    EXPECT_EQ(DecodeName("%41%25%2"), "%41%25%2");
    EXPECT_EQ(DecodeName(""), "");
}

TEST(FilePart, IsTheTextAfterTheLastSeparator)
{
    EXPECT_EQ(FilePart("C:\\dir/sub\\movie.swf"), "movie.swf");
    EXPECT_EQ(FilePart("c:movie.swf"), "movie.swf");
    EXPECT_EQ(FilePart("movie.swf"), "movie.swf");
    EXPECT_EQ(FilePart("dir/"), "");
}

TEST(ResourceNameOf, DropsPathAndExtension)
{
    EXPECT_EQ(ResourceNameOf("/flvplayback.swf"), "flvplayback");
    EXPECT_EQ(ResourceNameOf("skins/ClearOverAll.skin.swf"), "ClearOverAll.skin");
    EXPECT_EQ(ResourceNameOf("README"), "README");
}

TEST(IsNetworkOrDevicePath, TwoLeadingSeparatorsOrTheObjectPrefixWhicheverTheSlashes)
{
    for (const char* name :
         {"\\\\server\\share\\a.swf", "//server/share/a.swf", "\\/server/a", "/\\server\\a",
          "\\\\?\\C:\\a.swf", "\\\\.\\pipe\\x", "//?/C:/a.swf", "\\??\\C:\\a.swf", "//", "///a"})
        EXPECT_TRUE(IsNetworkOrDevicePath(name)) << name;
    for (const char* name : {"", "/", "\\", "a.swf", "/movie.swf", "\\dir\\a.swf", "C:\\dir\\a.swf",
                             "C:\\\\server", "http://host/a.swf", "\\?", "?\\\\x"})
        EXPECT_FALSE(IsNetworkOrDevicePath(name)) << name;
}

TEST(StreamTokens, RoundTripThroughTheMovieUrl)
{
    EXPECT_EQ(FormatStreamToken(0x1A2B3C4Du), "1A2B3C4D");
    EXPECT_EQ(FormatStreamToken(7), "00000007");
    const std::string url = StreamMovieUrl(0xDEADBEEFu, ".swf");
    EXPECT_EQ(url, "http://zintara/<stream>DEADBEEF.swf");
    EXPECT_EQ(StreamTokenOf(ResolveRequest(url).Name), 0xDEADBEEFu);
    EXPECT_EQ(StreamTokenOf("<stream>0000000a"), 10u);
}

TEST(StreamTokens, MadeUpNamesNameNothing)
{
    EXPECT_EQ(StreamTokenOf("/<stream>1234"), std::nullopt);
    EXPECT_EQ(StreamTokenOf("/<stream>1234567G.swf"), std::nullopt);
    EXPECT_EQ(StreamTokenOf("/<stream>-1234567"), std::nullopt);
    EXPECT_EQ(StreamTokenOf("//<stream>12345678"), std::nullopt);
    EXPECT_EQ(StreamTokenOf("<STREAM>12345678"), std::nullopt);
    EXPECT_EQ(StreamTokenOf(""), std::nullopt);
}
