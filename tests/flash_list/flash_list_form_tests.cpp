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
using namespace zn::test;

namespace {

TBytes TenBytes()
{
    return {0, 1, 2, 3, 0xFF, 0xFE, 'x', 'y', 'z', 0x80};
}

bool Holds(const TBytes& Haystack, const TBytes& Needle)
{
    return std::search(Haystack.begin(), Haystack.end(), Needle.begin(), Needle.end()) !=
           Haystack.end();
}

class FlashListForms : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterFlashListClasses();
        ASSERT_EQ(FlashList(), nullptr);
        Root = std::make_unique<TDataModule>(nullptr);
        Root->SetName(L"Data");
        auto* files = new TznFlashList(Root.get());
        files->SetName(L"Files");
        AddFlash(*files, L"a.swf", TenBytes());
        AddFlash(*files, L"named-but-empty.xml", {});
        AddFlash(*files, L"\u00e9t\u00e9 \u4e2d.flv", TextBytes("video"));
    }
    void TearDown() override
    {
        Root.reset();
        EXPECT_EQ(FlashList(), nullptr);
    }

    TBytes Written(TFormFormat Format)
    {
        TMemoryStream form;
        WriteComponentToStream(form, *Root, Format);
        return Contents(form);
    }

    static std::unique_ptr<TComponent> Read(const TBytes& Form)
    {
        TMemoryStream stream;
        stream.WriteBuffer(Form.data(), Form.size());
        stream.SetPosition(0);
        return std::unique_ptr<TComponent>(ReadComponentFromStream(stream, nullptr));
    }

    // The list as read back holds what was written, and the registry knows the new items.
    static void ExpectReadBack(TComponent& Loaded)
    {
        auto* files = dynamic_cast<TznFlashList*>(Loaded.FindComponent(L"Files"));
        ASSERT_NE(files, nullptr);
        ASSERT_EQ(files->Flashs()->Count(), 3);
        EXPECT_EQ(files->Flashs()->GetItem(0)->GetFlashStore(), L"a.swf");
        EXPECT_EQ(Contents(files->Flashs()->GetItem(0)->Flash()), TenBytes());
        EXPECT_EQ(files->Flashs()->GetItem(0)->Flash().Position(), 0);
        EXPECT_EQ(files->Flashs()->GetItem(1)->GetFlashStore(), L"(empty)")
            << "a name without bytes is stored as (empty)";
        EXPECT_EQ(files->Flashs()->GetItem(2)->GetFlashStore(), L"\u00e9t\u00e9 \u4e2d.flv");
        EXPECT_EQ(Contents(files->Flashs()->GetItem(2)->Flash()), TextBytes("video"));

        ASSERT_EQ(FlashList()->Count(), 6);
        EXPECT_EQ(FlashList()->Strings(3), L"a.swf");
        EXPECT_EQ(FlashList()->Strings(4), L"(empty)");
        EXPECT_EQ(FlashList()->Objects(5), files->Flashs()->GetItem(2));
    }

    std::unique_ptr<TDataModule> Root;
};

} // namespace

TEST_F(FlashListForms, BinaryFormFramesEachBlockAsBinaryData)
{
    TBytes form = Written(TFormFormat::Binary);
    TBytes framed = {10,  29, 0,   0, 0,   4, 5,   0, 0,  0, 'a', 0,
                     '.', 0,  's', 0, 'w', 0, 'f', 0, 10, 0, 0,   0};
    for (unsigned char byte : TenBytes())
        framed.push_back(byte);
    EXPECT_TRUE(Holds(form, framed));
    EXPECT_TRUE(Holds(form, TBytes{10, 1, 0, 0, 0, 0})) << "the empty item's block is the byte 0";
}

TEST_F(FlashListForms, BinaryFormRoundTrips)
{
    std::unique_ptr<TComponent> loaded = Read(Written(TFormFormat::Binary));
    ExpectReadBack(*loaded);
}

TEST_F(FlashListForms, TextFormShowsNamesAndHexadecimalBlocks)
{
    TBytes text = Written(TFormFormat::Text);
    std::string form(text.begin(), text.end());
    std::transform(form.begin(), form.end(), form.begin(),
                   [](char C) { return static_cast<char>(std::tolower(C)); });
    EXPECT_NE(form.find("object files: tznflashlist"), std::string::npos) << form;
    EXPECT_NE(form.find("flashstore = 'a.swf'"), std::string::npos) << form;
    EXPECT_NE(form.find("flashstore = '(empty)'"), std::string::npos) << form;
    EXPECT_NE(form.find("04050000006100"), std::string::npos) << form;
}

TEST_F(FlashListForms, TextFormRoundTrips)
{
    std::unique_ptr<TComponent> loaded = Read(Written(TFormFormat::Text));
    ExpectReadBack(*loaded);
}

namespace {

// Offsets inside the first item's block, counted from its Kind byte.
constexpr std::size_t NameLengthField = 1;
constexpr std::size_t SizeField = 15;

std::size_t FirstBlock(const TBytes& Form)
{
    TBytes start = {10, 29, 0, 0, 0, 4};
    auto found = std::search(Form.begin(), Form.end(), start.begin(), start.end());
    return static_cast<std::size_t>(found - Form.begin()) + 5;
}

void Poke(TBytes& Form, std::size_t Offset, std::uint32_t Value)
{
    for (int i = 0; i < 4; ++i)
        Form[Offset + i] = static_cast<unsigned char>(Value >> (8 * i));
}

} // namespace

TEST_F(FlashListForms, LyingBlockAbortsTheFormAndFreesWhatItBuilt)
{
    TBytes valid = Written(TFormFormat::Binary);
    std::size_t block = FirstBlock(valid);
    ASSERT_LT(block, valid.size());
    struct {
        std::size_t Field;
        std::uint32_t Value;
    } const lies[] = {{NameLengthField, 0xFFFFFFFF}, {NameLengthField, 0x40000000},
                      {NameLengthField, 13},         {SizeField, 0x80000000},
                      {SizeField, 0x7FFFFFFF},       {SizeField, 11}};
    for (const auto& lie : lies) {
        TBytes form = valid;
        Poke(form, block + lie.Field, lie.Value);
        EXPECT_THROW(Read(form), EReadError) << lie.Field << " " << lie.Value;
        ASSERT_NE(FlashList(), nullptr);
        EXPECT_EQ(FlashList()->Count(), 3) << "the half-read list's items are gone with it";
    }
}

TEST_F(FlashListForms, TruncatedFormIsAReadError)
{
    TBytes valid = Written(TFormFormat::Binary);
    for (std::size_t length = 0; length < valid.size(); ++length) {
        TBytes form(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_THROW(Read(form), Exception) << length;
    }
    EXPECT_EQ(FlashList()->Count(), 3);
}

TEST_F(FlashListForms, EmptyNameOfAnItemWithBytesIsStoredToo)
{
    auto* files = static_cast<TznFlashList*>(Root->FindComponent(L"Files"));
    AddFlash(*files, L"", TextBytes("x"));
    std::unique_ptr<TComponent> loaded = Read(Written(TFormFormat::Binary));
    auto* read = static_cast<TznFlashList*>(loaded->FindComponent(L"Files"));
    ASSERT_EQ(read->Flashs()->Count(), 4);
    EXPECT_EQ(read->Flashs()->GetItem(3)->GetFlashStore(), L"");
    EXPECT_EQ(FlashList()->Strings(7), L"") << "the entry follows the stored name, not \"(empty)\"";
}
