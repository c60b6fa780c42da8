// The plug-in's parts without Windows: the call log, the ExternalInterface script, the embed's
// attributes, the local-file restriction and the request table.
#include "log_text.h"
#include "downloads.h"
#include "flash_call_script.h"
#include "instance_settings.h"
#include "common/local_security.h"
#include "npapi.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zn::np {
namespace {

TEST(CallLogTest, LinesQuoteTextAndShowVariantsByType)
{
    NPVariant args[4]{};
    args[0].type = NPVariantType_Int32;
    args[0].value.intValue = 3;
    args[1].type = NPVariantType_Double;
    args[1].value.doubleValue = 3;
    args[2].type = NPVariantType_String;
    args[2].value.stringValue = {"say \"hi\"", 8};
    args[3].type = NPVariantType_Bool;
    args[3].value.boolValue = true;
    LogLine line("NPObject.Invoke");
    line.Text("method", "Go")
        .Raw("args", VariantsText(args, 4))
        .Text("none", static_cast<const char*>(nullptr));
    EXPECT_EQ(line.Str(),
              "NPObject.Invoke method=\"Go\" args=(3, 3.0, \"say \\\"hi\\\"\", true) none=null");
}

TEST(CallLogTest, AddressesHaveAFixedWidth)
{
    EXPECT_EQ(HexAddress(nullptr), "0x" + std::string(2 * sizeof(void*), '0'));
    EXPECT_EQ(HexAddress(reinterpret_cast<void*>(0xAB)).substr(2 * sizeof(void*)), "ab");
}

TEST(CallLogTest, TakeClearsOnlyWhatFits)
{
    CallLog log;
    log.Record(LogLine("NP_Initialize").Number("size", 172));
    log.Record(LogLine("NP_Shutdown"));
    const std::string all = "NP_Initialize size=172\nNP_Shutdown\n";
    EXPECT_EQ(log.Take(nullptr, 0), all.size());
    char small[8] = "unset";
    EXPECT_EQ(log.Take(small, sizeof small), all.size());
    EXPECT_STREQ(small, "unset");
    char buffer[64];
    EXPECT_EQ(log.Take(buffer, sizeof buffer), all.size());
    EXPECT_EQ(buffer, all);
    EXPECT_EQ(log.Take(buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");
}

TEST(CallLogTest, PastItsLimitTheOldestLinesGoAndTheTextSaysSo)
{
    CallLog log(2);
    for (int i = 1; i <= 4; ++i)
        log.Record(LogLine("NPP_HandleEvent").Number("event", i));
    EXPECT_EQ(log.Text(), "CallLog dropped=2\nNPP_HandleEvent event=3\nNPP_HandleEvent event=4\n");
    char buffer[128];
    log.Take(buffer, sizeof buffer);
    log.Record(LogLine("NPP_Destroy"));
    EXPECT_EQ(log.Text(), "NPP_Destroy\n");
}

TEST(FlashCallScriptTest, StringsQuotedAndNumbersBare)
{
    using V = FlashCallArgument;
    EXPECT_EQ(FlashCallScript("fn", {V::String("a"), V::Number(2)}),
              "try { __flash__toXML(fn(\"a\",2)) ; } catch (e) { \"<undefined/>\"; }");
    EXPECT_EQ(FlashCallScript("fn", {}),
              "try { __flash__toXML(fn()) ; } catch (e) { \"<undefined/>\"; }");
    EXPECT_EQ(
        FlashCallScript("f", {V::Number(-0.5), V::Boolean(true), V::Null(), V::Undefined()}),
        "try { __flash__toXML(f(-0.5,true,null,undefined)) ; } catch (e) { \"<undefined/>\"; }");
}

TEST(FlashCallScriptTest, QuotesAndLineBreaksInStringsCannotEndTheLiteral)
{
    EXPECT_EQ(FlashCallScript("f", {FlashCallArgument::String("a\"b\\c\nd")}),
              "try { __flash__toXML(f(\"a\\\"b\\\\c\\nd\")) ; } catch (e) { \"<undefined/>\"; }");
}

TEST(InstanceSettingsTest, ReadsTheEmbedAttributesAsAHostPassesThem)
{
    auto settings = ReadInstanceSettings(
        {{"wmode", "transparent"}, {"bgcolor", "#0"}, {"width", "320"}, {"height", "240"}});
    EXPECT_TRUE(settings.transparent);
    EXPECT_EQ(settings.width, 320u);
    EXPECT_EQ(settings.height, 240u);
    EXPECT_EQ(settings.background, 0u);
}

TEST(InstanceSettingsTest, NamesIgnoreCaseAndBadValuesAreIgnored)
{
    auto settings = ReadInstanceSettings(
        {{"WMode", "Opaque"}, {"BGCOLOR", "#FF8000"}, {"width", "100%"}, {"height", "-3"}});
    EXPECT_FALSE(settings.transparent);
    EXPECT_EQ(settings.width, 0u);
    EXPECT_EQ(settings.height, 0u);
    EXPECT_EQ(settings.background, 0xFF8000u);
    EXPECT_EQ(ParseColor("0x0000ff"), 0xFFu);
    EXPECT_EQ(ParseColor("#1234567"), std::nullopt);
    EXPECT_EQ(ParseColor("#xyz"), std::nullopt);
    EXPECT_EQ(ParseColor(""), std::nullopt);
}

TEST(LocalSecurityTest, LocalMoviesMayNotReachTheNetworkUntilLifted)
{
    EXPECT_TRUE(player::IsLocalUrl("movie.swf"));
    EXPECT_TRUE(player::IsLocalUrl("C:\\movies\\movie.swf"));
    EXPECT_TRUE(player::IsLocalUrl("FILE:///C:/movie.swf"));
    EXPECT_FALSE(player::IsLocalUrl("http://host/movie.swf"));
    EXPECT_FALSE(player::IsRequestAllowed("movie.swf", "http://host/data.xml", false));
    EXPECT_TRUE(player::IsRequestAllowed("movie.swf", "http://host/data.xml", true));
    EXPECT_TRUE(player::IsRequestAllowed("movie.swf", "data.xml", false));
    EXPECT_TRUE(player::IsRequestAllowed("http://host/movie.swf", "http://other/data.xml", false));
}

TEST(DownloadsTest, PiecesAtOffsetZeroAreAppendedInOrder)
{
    Downloads downloads;
    void* token = downloads.Add({UrlRequest::Purpose::Movie, "movie.swf"});
    StreamBuffer* stream = downloads.Open(token, "http://host/movie.swf");
    ASSERT_TRUE(downloads.IsOpen(stream));
    downloads.Append(stream, "FW", 2);
    downloads.Append(stream, "S", 1);
    // This host's notification between the pieces must not end the request.
    EXPECT_FALSE(downloads.Notified(token));
    StreamBuffer finished = downloads.Close(stream);
    EXPECT_EQ(std::string(finished.bytes.begin(), finished.bytes.end()), "FWS");
    EXPECT_EQ(finished.request.url, "movie.swf");
    EXPECT_FALSE(downloads.IsOpen(stream));
    EXPECT_EQ(downloads.PendingRequests(), 0u);
}

TEST(DownloadsTest, AStreamStopsGrowingAtItsLimit)
{
    Downloads downloads(4);
    StreamBuffer* stream = downloads.Open(nullptr, "big.swf");
    EXPECT_TRUE(downloads.Append(stream, "FWS", 3));
    EXPECT_FALSE(downloads.Append(stream, "ab", 2));
    EXPECT_TRUE(downloads.Append(stream, "a", 1));
    EXPECT_FALSE(downloads.Append(stream, "b", 1));
    EXPECT_EQ(downloads.Close(stream).bytes.size(), 4u);
}

TEST(DownloadsTest, TokensAreSmallNumbersAndUnknownStreamsAreTheMovie)
{
    Downloads downloads;
    void* first = downloads.Add({UrlRequest::Purpose::MovieFile, "a.xml"});
    void* second = downloads.Add({UrlRequest::Purpose::MovieFile, "b.xml"});
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(first), 1u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(second), 2u);
    EXPECT_EQ(downloads.Find(second)->url, "b.xml");
    StreamBuffer* unasked = downloads.Open(reinterpret_cast<void*>(0x5000), "src.swf");
    EXPECT_EQ(unasked->request.purpose, UrlRequest::Purpose::Movie);
    EXPECT_EQ(unasked->request.url, "src.swf");
    downloads.Close(unasked);
    EXPECT_EQ(downloads.PendingRequests(), 2u);
    EXPECT_TRUE(downloads.Notified(first));
    EXPECT_FALSE(downloads.Notified(first));
    EXPECT_EQ(downloads.Find(first), std::nullopt);
    int local = 0;
    EXPECT_FALSE(downloads.IsOpen(&local));
    EXPECT_TRUE(downloads.Close(reinterpret_cast<StreamBuffer*>(&local)).bytes.empty());
}

} // namespace
} // namespace zn::np
