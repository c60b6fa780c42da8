// Interned identifiers.
#include "identifiers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace zn::netscape;

TEST(Identifiers, SameTextGivesTheSamePointerWhateverBufferItCameFrom)
{
    std::string temporary = "Play";
    const char* first = InternIdentifier(temporary);
    temporary = "Stop";
    const char* second = InternIdentifier(std::string("Play"));
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "Play");
    EXPECT_NE(InternIdentifier("play"), first);
}

TEST(Identifiers, StayValidWhileTheTableGrows)
{
    const char* early = InternIdentifier("location");
    for (int i = 0; i < 5000; ++i)
        InternIdentifier("name" + std::to_string(i));
    EXPECT_STREQ(early, "location");
    EXPECT_EQ(InternIdentifier("location"), early);
}

TEST(Identifiers, OnlyInternedPointersAreIdentifiers)
{
    const char* known = InternIdentifier("top");
    EXPECT_TRUE(IsInternedIdentifier(known));
    const char foreign[] = "top";
    EXPECT_FALSE(IsInternedIdentifier(foreign));
    EXPECT_FALSE(IsInternedIdentifier(nullptr));
}

TEST(Identifiers, EmptyAndEmbeddedZeroNamesAreDistinct)
{
    const char* empty = InternIdentifier("");
    EXPECT_STREQ(empty, "");
    EXPECT_EQ(InternIdentifier(std::string_view()), empty);
    EXPECT_NE(InternIdentifier(std::string_view("a\0b", 3)), InternIdentifier("a"));
}
