// Items, their list and the process-wide registry: names, renaming, lifetime and lookup.
#include "zintara/core/flash_list.h"

#include "flash_list_test_support.h"

#include "zintara/framework/exceptions.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zn;
using namespace zn::test;

namespace {

// Every test starts and ends without a live item, so the registry is null on both sides.
class FlashRegistry : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(FlashList(), nullptr) << "an earlier test leaked an item"; }
    void TearDown() override
    {
        EXPECT_EQ(FlashList(), nullptr) << "the registry outlived its items";
    }
};

std::wstring EntryText(int Index)
{
    return FlashList()->Strings(Index);
}
TObject* EntryItem(int Index)
{
    return FlashList()->Objects(Index);
}

} // namespace

TEST_F(FlashRegistry, NewItemIsEmptyAndEnteredUnderThatName)
{
    TznFlashList list(nullptr);
    TznFlashStream* item = list.Flashs()->Add();
    EXPECT_EQ(item->GetFlashStore(), L"(empty)");
    EXPECT_EQ(item->GetDisplayName(), L"(empty)");
    EXPECT_EQ(item->Flash().Size(), 0);
    ASSERT_NE(FlashList(), nullptr);
    ASSERT_EQ(FlashList()->Count(), 1);
    EXPECT_EQ(EntryText(0), L"(empty)");
    EXPECT_EQ(EntryItem(0), item);
    EXPECT_EQ(list.FindFlash(L"(EMPTY)"), item);
}

TEST_F(FlashRegistry, PublicNameNeedsBytesWhileTheEntryKeepsTheGivenName)
{
    TznFlashList list(nullptr);
    TznFlashStream* item = list.Flashs()->Add();
    item->SetFlashStore(L"intro.swf");
    EXPECT_EQ(item->GetFlashStore(), L"(empty)");
    EXPECT_EQ(EntryText(0), L"intro.swf");
    EXPECT_EQ(list.FindFlash(L"intro.swf"), nullptr);

    item->Flash().WriteBuffer("FWS", 3);
    EXPECT_EQ(item->GetFlashStore(), L"intro.swf");
    EXPECT_EQ(item->GetDisplayName(), L"intro.swf");
    EXPECT_EQ(list.FindFlash(L"INTRO.SWF"), item);

    item->Flash().Clear();
    EXPECT_EQ(item->GetFlashStore(), L"(empty)");
}

TEST_F(FlashRegistry, RenamingUpdatesTheItemsOwnEntryInPlace)
{
    TznFlashList list(nullptr);
    TznFlashStream* first = AddFlash(list, L"a.swf", {1});
    TznFlashStream* second = AddFlash(list, L"b.swf", {2});

    second->SetFlashStore(L"B.SWF");
    ASSERT_EQ(FlashList()->Count(), 2);
    EXPECT_EQ(EntryText(0), L"a.swf");
    EXPECT_EQ(EntryText(1), L"B.SWF");
    EXPECT_EQ(EntryItem(1), second);

    second->SetFlashStore(L"b.swf");
    EXPECT_EQ(EntryText(1), L"b.swf") << "a change of case alone is a rename";
    EXPECT_EQ(second->GetFlashStore(), L"b.swf");

    // Two items of one name: renaming the second must not touch the first's entry.
    first->SetFlashStore(L"b.swf");
    second->SetFlashStore(L"c.swf");
    EXPECT_EQ(EntryText(0), L"b.swf");
    EXPECT_EQ(EntryText(1), L"c.swf");
}

TEST_F(FlashRegistry, LivesFromTheFirstItemToTheLast)
{
    {
        TznFlashList list(nullptr);
        TznFlashStream* first = AddFlash(list, L"first.swf", {1});
        TznFlashStream* second = AddFlash(list, L"second.swf", {2});
        const TStringList* registry = FlashList();

        delete first;
        ASSERT_EQ(FlashList(), registry);
        ASSERT_EQ(FlashList()->Count(), 1);
        EXPECT_EQ(EntryItem(0), second) << "the entry is found by its item, not by its name";
        EXPECT_EQ(list.Flashs()->Count(), 1);
    }
    EXPECT_EQ(FlashList(), nullptr);

    TznFlashList again(nullptr);
    again.Flashs()->Add();
    ASSERT_NE(FlashList(), nullptr);
    EXPECT_EQ(FlashList()->Count(), 1);
}

TEST_F(FlashRegistry, EntriesOfEveryListInCreationOrder)
{
    TznFlashList one(nullptr);
    auto two = std::make_unique<TznFlashList>(nullptr);
    TznFlashStream* a = AddFlash(one, L"a.swf", {1});
    TznFlashStream* b = AddFlash(*two, L"b.swf", {2});
    TznFlashStream* c = AddFlash(one, L"c.swf", {3});
    ASSERT_EQ(FlashList()->Count(), 3);
    EXPECT_EQ(EntryItem(0), a);
    EXPECT_EQ(EntryItem(1), b);
    EXPECT_EQ(EntryItem(2), c);

    two.reset();
    ASSERT_EQ(FlashList()->Count(), 2);
    EXPECT_EQ(EntryItem(1), c);
}

TEST_F(FlashRegistry, LookupCopiesTheFirstCreatedItemOfThatName)
{
    EXPECT_EQ(CopyFlashListStream(L"intro.swf"), nullptr) << "no registry at all";

    TznFlashList older(nullptr);
    TznFlashList newer(nullptr);
    TznFlashStream* original = AddFlash(older, L"intro.swf", TextBytes("older"));
    AddFlash(newer, L"Intro.swf", TextBytes("newer"));
    original->Flash().SetPosition(2);

    std::unique_ptr<TMemoryStream> copy = CopyFlashListStream(L"INTRO.SWF");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Contents(*copy), TextBytes("older"));
    EXPECT_EQ(copy->Position(), 0);
    EXPECT_EQ(original->Flash().Position(), 2) << "serving a file leaves its item alone";

    copy->WriteBuffer("X", 1);
    EXPECT_EQ(Contents(original->Flash()), TextBytes("older"));

    EXPECT_EQ(CopyFlashListStream(L"intro"), nullptr) << "the whole name must match";
    EXPECT_EQ(CopyFlashListStream(L"other.swf"), nullptr);
}

// The registry follows the user's locale; FindFlash folds A-Z only.
TEST_F(FlashRegistry, RegistryFoldsEveryLetterAndFindFlashOnlyAscii)
{
    TznFlashList list(nullptr);
    TznFlashStream* item = AddFlash(list, L"\u00e9t\u00e9.swf", {7});
    EXPECT_NE(CopyFlashListStream(L"\u00c9T\u00c9.SWF"), nullptr);
    EXPECT_EQ(list.FindFlash(L"\u00c9T\u00c9.SWF"), nullptr);
    EXPECT_EQ(list.FindFlash(L"\u00e9T\u00e9.SWF"), item);
}

TEST_F(FlashRegistry, FindFlashTakesTheFirstInCollectionOrder)
{
    TznFlashList list(nullptr);
    TznFlashStream* later = AddFlash(list, L"clip.flv", {1});
    TznFlashStream* earlier = AddFlash(list, L"CLIP.flv", {2});
    earlier->SetIndex(0);
    EXPECT_EQ(list.FindFlash(L"clip.FLV"), earlier);
    EXPECT_EQ(later->Index(), 1);
    EXPECT_EQ(list.FindFlash(L"clip"), nullptr);
}

TEST_F(FlashRegistry, AssignFromAnItemCopiesNameAndBytes)
{
    TznFlashList list(nullptr);
    TznFlashStream* source = AddFlash(list, L"movie.swf", TextBytes("movie"));
    TznFlashStream* target = AddFlash(list, L"old.swf", TextBytes("old bytes"));

    target->Assign(source);
    EXPECT_EQ(target->GetFlashStore(), L"movie.swf");
    EXPECT_EQ(Contents(target->Flash()), TextBytes("movie"));
    EXPECT_EQ(EntryText(1), L"movie.swf");
    EXPECT_EQ(Contents(source->Flash()), TextBytes("movie"));

    target->Assign(target);
    EXPECT_EQ(Contents(target->Flash()), TextBytes("movie"));
}

TEST_F(FlashRegistry, AssignFromAnythingElseIsTheFrameworksConversionError)
{
    TznFlashList list(nullptr);
    TznFlashStream* target = AddFlash(list, L"keep.swf", {1, 2});
    TStringList other;
    EXPECT_THROW(target->Assign(&other), EConvertError);
    EXPECT_EQ(target->GetFlashStore(), L"keep.swf");
}

TEST_F(FlashRegistry, CollectionCopiesEveryItemWithItsEntry)
{
    TznFlashList from(nullptr);
    AddFlash(from, L"a.swf", TextBytes("aa"));
    AddFlash(from, L"b.swf", TextBytes("bbb"));
    TznFlashList to(nullptr);
    to.Flashs()->Assign(from.Flashs());

    ASSERT_EQ(to.Flashs()->Count(), 2);
    EXPECT_EQ(Contents(to.FindFlash(L"b.swf")->Flash()), TextBytes("bbb"));
    EXPECT_EQ(FlashList()->Count(), 4);
    EXPECT_EQ(EntryText(3), L"b.swf");
    EXPECT_EQ(to.Flashs()->GetOwner(), &to);
    EXPECT_THROW(to.Flashs()->GetItem(2), EListError);
}
