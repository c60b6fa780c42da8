// Interned identifiers and the table of pending stream copies.
#include "identifiers.h"
#include "pending_copies.h"

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

TEST(PendingCopies, ATokenServesOneRequest)
{
    TPendingCopies<std::string> copies;
    const std::uint32_t first = copies.Add(std::make_unique<std::string>("movie"));
    const std::uint32_t second = copies.Add(std::make_unique<std::string>("other"));
    EXPECT_NE(first, second);
    EXPECT_EQ(copies.Count(), 2u);

    auto taken = copies.Take(first);
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, "movie");
    EXPECT_EQ(copies.Take(first), nullptr);
    EXPECT_EQ(copies.Count(), 1u);
}

TEST(PendingCopies, MadeUpTokensFindNothingAndTokensAreNotReused)
{
    TPendingCopies<int> copies;
    const std::uint32_t token = copies.Add(std::make_unique<int>(1));
    EXPECT_EQ(copies.Take(0), nullptr);
    EXPECT_EQ(copies.Take(0xFFFFFFFFu), nullptr);
    EXPECT_EQ(copies.Take(token + 1), nullptr);
    copies.Take(token);
    EXPECT_NE(copies.Add(std::make_unique<int>(2)), token);
}
