// The browser table as the plug-in sees it: its size and version, the storage after it, and the
// service entries called directly with good and bad arguments.
#include "browser_table.h"
#include "netscape_unit.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace zn;
using namespace zn::netscape;

namespace {

const TNPNetscapeFuncs& Funcs()
{
    return TNetscapeUnit::Instance().BrowserFuncs();
}

PNPIdentifier Identifier(const char* Name)
{
    return Funcs().getstringidentifier(Name);
}

} // namespace

TEST(BrowserTable, HasEveryEntryUpToPopPopupsAndNullsAfterIt)
{
    ASSERT_TRUE(TznFlashDriverNS::PluginExists());
    EXPECT_EQ(Funcs().size, 172);
    EXPECT_EQ(Funcs().version, 18);
    const auto* entries = reinterpret_cast<void* const*>(&Funcs().geturl);
    for (int i = 0; i < 42; ++i)
        EXPECT_NE(entries[i], nullptr) << "entry " << i;
    // What minor version 19 adds (pluginthreadasynccall, construct).
    for (int i = 43; i < 45; ++i)
        EXPECT_EQ(entries[i], nullptr) << "entry " << i;
}

// Version 18 promises enumerate right after the 172 bytes: a plug-in that trusts the version
// calls it and learns that no object of this host lists its properties.
TEST(BrowserTable, TheEnumerateEntryOfVersion18AnswersFalseWithNothing)
{
    using TEnumerate = bool (*)(PNPP, PNPObject, PNPIdentifier**, std::uint32_t*);
    const auto enumerate =
        reinterpret_cast<TEnumerate const*>(reinterpret_cast<const char*>(&Funcs()) + 172)[0];
    ASSERT_NE(enumerate, nullptr);
    PNPObject window = nullptr;
    Funcs().getvalue(nullptr, NPNVWindowNPObject, &window);
    PNPIdentifier stale = &window;
    PNPIdentifier* names = &stale;
    std::uint32_t count = 7;
    EXPECT_FALSE(enumerate(nullptr, window, &names, &count));
    EXPECT_EQ(names, nullptr);
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(enumerate(nullptr, nullptr, nullptr, nullptr));
}

TEST(BrowserTable, TheUserAgentIsConstant)
{
    const char* first = Funcs().uagent(nullptr);
    EXPECT_STREQ(first, "Mozilla/5.0 (Windows; U; Windows NT 5.1; en-US; rv:1.8.0.3) "
                        "Gecko/20060426 Zintara/4");
    EXPECT_EQ(Funcs().uagent(nullptr), first);
}

TEST(BrowserTable, GetValueAnswersItsFourVariablesAndLeavesOthersAlone)
{
    PNPObject window = nullptr;
    EXPECT_EQ(Funcs().getvalue(nullptr, NPNVWindowNPObject, &window), NPERR_NO_ERROR);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->referenceCount, 1u);
    Funcs().retainobject(window);
    PNPObject again = nullptr;
    Funcs().getvalue(nullptr, NPNVWindowNPObject, &again);
    EXPECT_EQ(again, window);
    EXPECT_EQ(window->referenceCount, 1u);

    NPBool windowless = 0, script = 0;
    Funcs().getvalue(nullptr, NPNVSupportsWindowless, &windowless);
    Funcs().getvalue(nullptr, NPNVjavascriptEnabledBool, &script);
    EXPECT_EQ(windowless, 1);
    EXPECT_EQ(script, 1);
    void* handle = &window;
    Funcs().getvalue(nullptr, NPNVnetscapeWindow, &handle);
    EXPECT_EQ(handle, nullptr);

    std::uint32_t untouched = 0xDEADBEEFu;
    EXPECT_EQ(Funcs().getvalue(nullptr, 12345, &untouched), NPERR_NO_ERROR);
    EXPECT_EQ(untouched, 0xDEADBEEFu);
    EXPECT_EQ(Funcs().getvalue(nullptr, NPNVWindowNPObject, nullptr), NPERR_INVALID_PARAM);
}

TEST(BrowserTable, IdentifiersAreInternedAndCopiedOut)
{
    char temporary[] = "LoadMovie";
    const PNPIdentifier id = Identifier(temporary);
    std::strcpy(temporary, "Garbage!!");
    EXPECT_EQ(Identifier("LoadMovie"), id);
    EXPECT_TRUE(Funcs().identifierisstring(id));
    char* copy = Funcs().utf8fromidentifier(id);
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "LoadMovie");
    EXPECT_NE(static_cast<void*>(copy), id);
    Funcs().memfree(copy);

    const char foreign[] = "LoadMovie";
    EXPECT_EQ(Funcs().utf8fromidentifier(const_cast<char*>(foreign)), nullptr);
    EXPECT_EQ(Funcs().getstringidentifier(nullptr), nullptr);
    EXPECT_EQ(Funcs().getintidentifier(7), nullptr);
}

TEST(BrowserTable, GetStringIdentifiersFillsItsOutputArray)
{
    const char* names[] = {"top", "location", nullptr};
    PNPIdentifier ids[3] = {&ids, &ids, &ids};
    Funcs().getstringidentifiers(names, 3, ids);
    EXPECT_EQ(ids[0], Identifier("top"));
    EXPECT_EQ(ids[1], Identifier("location"));
    EXPECT_EQ(ids[2], nullptr);
    Funcs().getstringidentifiers(names, -1, ids);
    Funcs().getstringidentifiers(names, 2, nullptr);
}

TEST(BrowserTable, MemoryComesZeroed)
{
    auto* block = static_cast<unsigned char*>(Funcs().memalloc(64));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(block[i], 0);
    Funcs().memfree(block);
    Funcs().memfree(nullptr);
}

namespace {

int Deallocated = 0;
PNPObject AllocateObject(PNPP, PNPClass)
{
    return new TNPObject{};
}
void DeallocateObject(PNPObject Object)
{
    ++Deallocated;
    delete Object;
}

} // namespace

TEST(BrowserTable, ObjectsOfThePluginAreFreedAtZeroAndTheHostsNever)
{
    TNPClass plugin_class{};
    plugin_class.structVersion = 1;
    plugin_class.allocate = &AllocateObject;
    plugin_class.deallocate = &DeallocateObject;
    PNPObject object = Funcs().createobject(nullptr, &plugin_class);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->referenceCount, 1u);
    EXPECT_EQ(Funcs().retainobject(object), object);
    Funcs().releaseobject(object);
    EXPECT_EQ(Deallocated, 0);
    Funcs().releaseobject(object);
    EXPECT_EQ(Deallocated, 1);

    PNPObject window = nullptr;
    Funcs().getvalue(nullptr, NPNVWindowNPObject, &window);
    Funcs().releaseobject(window);
    Funcs().releaseobject(window);
    EXPECT_EQ(window->referenceCount, 0u);
    EXPECT_NE(window->_class, nullptr);

    TNPClass no_allocate{};
    EXPECT_EQ(Funcs().createobject(nullptr, &no_allocate), nullptr);
    EXPECT_EQ(Funcs().createobject(nullptr, nullptr), nullptr);
    Funcs().releaseobject(nullptr);
    EXPECT_EQ(Funcs().retainobject(nullptr), nullptr);
}

TEST(BrowserTable, TheHostObjectsAnswerLocationAndTop)
{
    PNPObject window = nullptr;
    Funcs().getvalue(nullptr, NPNVWindowNPObject, &window);
    TNPVariant result{};
    ASSERT_TRUE(Funcs().getproperty(nullptr, window, Identifier("top"), &result));
    ASSERT_EQ(result.type, NPVariantType_Object);
    PNPObject top = result.value.objectValue;
    EXPECT_NE(top, window);
    EXPECT_EQ(top->referenceCount, 1u);

    EXPECT_FALSE(Funcs().getproperty(nullptr, top, Identifier("top"), &result));
    EXPECT_EQ(result.type, NPVariantType_Void);
    ASSERT_TRUE(Funcs().getproperty(nullptr, top, Identifier("location"), &result));
    PNPObject top_location = result.value.objectValue;
    ASSERT_TRUE(Funcs().getproperty(nullptr, window, Identifier("location"), &result));
    EXPECT_NE(result.value.objectValue, top_location);
    EXPECT_FALSE(Funcs().getproperty(nullptr, top_location, Identifier("location"), &result));
    EXPECT_FALSE(Funcs().getproperty(nullptr, window, Identifier("document"), &result));
    EXPECT_FALSE(Funcs().getproperty(nullptr, window, Identifier("top"), nullptr));
}

TEST(BrowserTable, CallsWithoutADriverAreAnsweredSafely)
{
    TNPVariant result{};
    result.type = NPVariantType_Int32;
    EXPECT_TRUE(Funcs().invoke(nullptr, nullptr, Identifier("href"), nullptr, 0, &result));
    EXPECT_EQ(result.type, NPVariantType_String);
    EXPECT_EQ(result.value.stringValue.utf8length, 0u);
    EXPECT_TRUE(Funcs().invoke(nullptr, nullptr, Identifier("_DoFSCommand"), nullptr, 5, nullptr));

    TNPString script{"try { __flash__toXML(f()) ; } catch (e) {}", 42};
    EXPECT_TRUE(Funcs().evaluate(nullptr, nullptr, &script, &result));
    EXPECT_EQ(result.type, NPVariantType_String);
    EXPECT_TRUE(Funcs().evaluate(nullptr, nullptr, nullptr, &result));
    TNPString lying{nullptr, 1000};
    EXPECT_TRUE(Funcs().evaluate(nullptr, nullptr, &lying, nullptr));

    TNPP stranger{nullptr, &stranger};
    EXPECT_EQ(Funcs().geturlnotify(&stranger, "movie.swf", nullptr, nullptr), NPERR_NO_ERROR);
    EXPECT_EQ(Funcs().geturlnotify(&stranger, nullptr, nullptr, nullptr), NPERR_INVALID_URL);
    EXPECT_EQ(Funcs().geturlnotify(nullptr, "javascript:void(0)", nullptr, nullptr),
              NPERR_INVALID_URL);
    TNPRect rect{0, 0, 10, 10};
    Funcs().invalidaterect(&stranger, &rect);
    Funcs().invalidaterect(nullptr, nullptr);
}
