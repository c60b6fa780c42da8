// The table of pending stream copies: a token serves one request, and made-up tokens miss.
#include "zintara/core/pending_copies.h"

#include <gtest/gtest.h>

#include <string>

using namespace zn;

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
