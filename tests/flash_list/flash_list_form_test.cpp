// Forms holding a list of embedded files: the binary and the text form, both ways, and forms
// whose embedded file blocks lie.
#include "zintara/core/flash_list.h"

#include "flash_list_test_support.h"

#include "zintara/framework/data_module.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/form_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

using namespace zn;
using namespace zn::testing_support;

namespace {

TBytes TenBytes() { return {0, 1, 2, 3, 0xFF, 0xFE, 'x', 'y', 'z', 0x80}; }

bool Holds(const TBytes& Haystack, const TBytes& Needle) {
    return std::search(Haystack.begin(), Haystack.end(), Needle.begin(), Needle.end()) != Haystack.end();
}

class FlashListForms : public testing::Test {
protected:
    void SetUp() override {
        RegisterFlashListClasses();
        ASSERT_EQ(FlashList(), nullptr);
        Root = std::make_unique<TDataModule>(nullptr);
        Root->SetName(L"Data");
        auto* Files = new TznFlashList(Root.get());
        Files->SetName(L"Files");
        AddFlash(*Files, L"a.swf", TenBytes());
        AddFlash(*Files, L"named-but-empty.xml", {});
        AddFlash(*Files, L"\u00e9t\u00e9 \u4e2d.flv", TextBytes("video"));
    }
    void TearDown() override {
        Root.reset();
        EXPECT_EQ(FlashList(), nullptr);
    }

    TBytes Written(TFormFormat Format) {
        TMemoryStream Form;
        WriteComponentToStream(Form, *Root, Format);
        return Contents(Form);
    }

    static std::unique_ptr<TComponent> Read(const TBytes& Form) {
        TMemoryStream Stream;
        Stream.WriteBuffer(Form.data(), Form.size());
        Stream.SetPosition(0);
        return std::unique_ptr<TComponent>(ReadComponentFromStream(Stream, nullptr));
    }

    // The list as read back holds what was written, and the registry knows the new items.
    static void ExpectReadBack(TComponent& Loaded) {
        auto* Files = dynamic_cast<TznFlashList*>(Loaded.FindComponent(L"Files"));
        ASSERT_NE(Files, nullptr);
        ASSERT_EQ(Files->Flashs()->Count(), 3);
        EXPECT_EQ(Files->Flashs()->GetItem(0)->GetFlashStore(), L"a.swf");
        EXPECT_EQ(Contents(Files->Flashs()->GetItem(0)->Flash()), TenBytes());
        EXPECT_EQ(Files->Flashs()->GetItem(0)->Flash().Position(), 0);
        EXPECT_EQ(Files->Flashs()->GetItem(1)->GetFlashStore(), L"(empty)")
            << "a name without bytes is stored as (empty)";
        EXPECT_EQ(Files->Flashs()->GetItem(2)->GetFlashStore(), L"\u00e9t\u00e9 \u4e2d.flv");
        EXPECT_EQ(Contents(Files->Flashs()->GetItem(2)->Flash()), TextBytes("video"));

        ASSERT_EQ(FlashList()->Count(), 6);
        EXPECT_EQ(FlashList()->Strings(3), L"a.swf");
        EXPECT_EQ(FlashList()->Strings(4), L"(empty)");
        EXPECT_EQ(FlashList()->Objects(5), Files->Flashs()->GetItem(2));
    }

    std::unique_ptr<TDataModule> Root;
};

} // namespace

TEST_F(FlashListForms, BinaryFormFramesEachBlockAsBinaryData) {
    TBytes Form = Written(TFormFormat::Binary);
    TBytes Framed = {10, 29, 0, 0, 0, 4, 5, 0, 0, 0, 'a', 0, '.', 0, 's', 0, 'w', 0, 'f', 0, 10, 0, 0, 0};
    for (unsigned char Byte : TenBytes()) Framed.push_back(Byte);
    EXPECT_TRUE(Holds(Form, Framed));
    EXPECT_TRUE(Holds(Form, TBytes{10, 1, 0, 0, 0, 0})) << "the empty item's block is the byte 0";
}

TEST_F(FlashListForms, BinaryFormRoundTrips) {
    std::unique_ptr<TComponent> Loaded = Read(Written(TFormFormat::Binary));
    ExpectReadBack(*Loaded);
}

TEST_F(FlashListForms, TextFormShowsNamesAndHexadecimalBlocks) {
    TBytes Text = Written(TFormFormat::Text);
    std::string Form(Text.begin(), Text.end());
    std::transform(Form.begin(), Form.end(), Form.begin(), [](char C) { return static_cast<char>(std::tolower(C)); });
    EXPECT_NE(Form.find("object files: tznflashlist"), std::string::npos) << Form;
    EXPECT_NE(Form.find("flashstore = 'a.swf'"), std::string::npos) << Form;
    EXPECT_NE(Form.find("flashstore = '(empty)'"), std::string::npos) << Form;
    EXPECT_NE(Form.find("04050000006100"), std::string::npos) << Form;
}

TEST_F(FlashListForms, TextFormRoundTrips) {
    std::unique_ptr<TComponent> Loaded = Read(Written(TFormFormat::Text));
    ExpectReadBack(*Loaded);
}

namespace {

// Offsets inside the first item's block, counted from its Kind byte.
constexpr std::size_t NameLengthField = 1;
constexpr std::size_t SizeField = 15;

std::size_t FirstBlock(const TBytes& Form) {
    TBytes Start = {10, 29, 0, 0, 0, 4};
    auto Found = std::search(Form.begin(), Form.end(), Start.begin(), Start.end());
    return static_cast<std::size_t>(Found - Form.begin()) + 5;
}

void Poke(TBytes& Form, std::size_t Offset, std::uint32_t Value) {
    for (int I = 0; I < 4; ++I) Form[Offset + I] = static_cast<unsigned char>(Value >> (8 * I));
}

} // namespace

TEST_F(FlashListForms, LyingBlockAbortsTheFormAndFreesWhatItBuilt) {
    TBytes Valid = Written(TFormFormat::Binary);
    std::size_t Block = FirstBlock(Valid);
    ASSERT_LT(Block, Valid.size());
    struct {
        std::size_t Field;
        std::uint32_t Value;
    } const Lies[] = {{NameLengthField, 0xFFFFFFFF}, {NameLengthField, 0x40000000}, {NameLengthField, 13},
                      {SizeField, 0x80000000},       {SizeField, 0x7FFFFFFF},       {SizeField, 11}};
    for (const auto& Lie : Lies) {
        TBytes Form = Valid;
        Poke(Form, Block + Lie.Field, Lie.Value);
        EXPECT_THROW(Read(Form), EReadError) << Lie.Field << " " << Lie.Value;
        ASSERT_NE(FlashList(), nullptr);
        EXPECT_EQ(FlashList()->Count(), 3) << "the half-read list's items are gone with it";
    }
}

TEST_F(FlashListForms, TruncatedFormIsAReadError) {
    TBytes Valid = Written(TFormFormat::Binary);
    for (std::size_t Length = 0; Length < Valid.size(); ++Length) {
        TBytes Form(Valid.begin(), Valid.begin() + static_cast<std::ptrdiff_t>(Length));
        EXPECT_THROW(Read(Form), Exception) << Length;
    }
    EXPECT_EQ(FlashList()->Count(), 3);
}

TEST_F(FlashListForms, EmptyNameOfAnItemWithBytesIsStoredToo) {
    auto* Files = static_cast<TznFlashList*>(Root->FindComponent(L"Files"));
    AddFlash(*Files, L"", TextBytes("x"));
    std::unique_ptr<TComponent> Loaded = Read(Written(TFormFormat::Binary));
    auto* Read = static_cast<TznFlashList*>(Loaded->FindComponent(L"Files"));
    ASSERT_EQ(Read->Flashs()->Count(), 4);
    EXPECT_EQ(Read->Flashs()->GetItem(3)->GetFlashStore(), L"");
    EXPECT_EQ(FlashList()->Strings(7), L"") << "the entry follows the stored name, not \"(empty)\"";
}
