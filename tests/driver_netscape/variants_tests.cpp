// Script values: what the host reads from the plug-in's answers and builds for its calls.
#include "variants.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace zn;
using namespace zn::netscape;

TEST(Variants, ReadOnlyTheirOwnType)
{
    TNPVariant number{};
    number.type = NPVariantType_Double;
    number.value.doubleValue = 10.0;
    EXPECT_EQ(VariantToInt(number), 0);
    EXPECT_FALSE(VariantToBool(number));
    EXPECT_EQ(VariantToString(number), "");

    EXPECT_EQ(VariantToInt(IntVariant(-7)), -7);
    EXPECT_TRUE(VariantToBool(BoolVariant(true)));
    EXPECT_FALSE(VariantToBool(IntVariant(1)));
    EXPECT_EQ(VariantToString(IntVariant(1)), "");
}

// The plug-in writes one byte of a Boolean: any non-zero byte is true, whatever follows it.
TEST(Variants, ABooleanIsItsFirstByte)
{
    TNPVariant two{};
    two.type = NPVariantType_Bool;
    reinterpret_cast<unsigned char*>(&two.value)[0] = 2;
    const bool two_read = VariantToBool(two);
    EXPECT_EQ(two_read, true);
    EXPECT_FALSE(!two_read);

    TNPVariant garbage{};
    garbage.type = NPVariantType_Bool;
    std::memset(&garbage.value, 0xA5, sizeof garbage.value);
    reinterpret_cast<unsigned char*>(&garbage.value)[0] = 0;
    EXPECT_EQ(VariantToBool(garbage), false);
    reinterpret_cast<unsigned char*>(&garbage.value)[0] = 1;
    EXPECT_EQ(VariantToBool(garbage), true);
}

TEST(Variants, StringsKeepTheirLengthAndEmbeddedBytes)
{
    const std::string text("a\0b", 3);
    const TNPVariant variant = StringVariant(text);
    EXPECT_EQ(variant.type, NPVariantType_String);
    EXPECT_EQ(variant.value.stringValue.utf8length, 3u);
    EXPECT_EQ(VariantToString(variant), text);
    EXPECT_NE(StringVariant("").value.stringValue.utf8characters, nullptr);
}

TEST(Variants, AStringWithoutCharactersReadsAsEmpty)
{
    TNPVariant lying{};
    lying.type = NPVariantType_String;
    lying.value.stringValue = {nullptr, 1000};
    EXPECT_EQ(VariantToString(lying), "");
}

TEST(Variants, MissingArgumentsReadAsVoid)
{
    const TNPVariant args[] = {IntVariant(1)};
    EXPECT_EQ(VariantToInt(ArgumentAt(args, 1, 0)), 1);
    EXPECT_EQ(ArgumentAt(args, 1, 1).type, NPVariantType_Void);
    EXPECT_EQ(ArgumentAt(nullptr, 5, 0).type, NPVariantType_Void);
}
