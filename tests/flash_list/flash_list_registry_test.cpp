// Items, their list and the process-wide registry: names, renaming, lifetime and lookup.
#include "zintara/core/flash_list.h"

#include "flash_list_test_support.h"

#include "zintara/framework/exceptions.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zn;
using namespace zn::testing_support;

namespace {

// Every test starts and ends without a live item, so the registry is null on both sides.
class FlashRegistry : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(FlashList(), nullptr) << "an earlier test leaked an item"; }
    void TearDown() override { EXPECT_EQ(FlashList(), nullptr) << "the registry outlived its items"; }
};

std::wstring EntryText(int Index) { return FlashList()->Strings(Index); }
TObject* EntryItem(int Index) { return FlashList()->Objects(Index); }

} // namespace

TEST_F(FlashRegistry, NewItemIsEmptyAndEnteredUnderThatName) {
    TznFlashList List(nullptr);
    TznFlashStream* Item = List.Flashs()->Add();
    EXPECT_EQ(Item->GetFlashStore(), L"(empty)");
    EXPECT_EQ(Item->GetDisplayName(), L"(empty)");
    EXPECT_EQ(Item->Flash().Size(), 0);
    ASSERT_NE(FlashList(), nullptr);
    ASSERT_EQ(FlashList()->Count(), 1);
    EXPECT_EQ(EntryText(0), L"(empty)");
    EXPECT_EQ(EntryItem(0), Item);
    EXPECT_EQ(List.FindFlash(L"(EMPTY)"), Item);
}

TEST_F(FlashRegistry, PublicNameNeedsBytesWhileTheEntryKeepsTheGivenName) {
    TznFlashList List(nullptr);
    TznFlashStream* Item = List.Flashs()->Add();
    Item->SetFlashStore(L"intro.swf");
    EXPECT_EQ(Item->GetFlashStore(), L"(empty)");
    EXPECT_EQ(EntryText(0), L"intro.swf");
    EXPECT_EQ(List.FindFlash(L"intro.swf"), nullptr);

    Item->Flash().WriteBuffer("FWS", 3);
    EXPECT_EQ(Item->GetFlashStore(), L"intro.swf");
    EXPECT_EQ(Item->GetDisplayName(), L"intro.swf");
    EXPECT_EQ(List.FindFlash(L"INTRO.SWF"), Item);

    Item->Flash().Clear();
    EXPECT_EQ(Item->GetFlashStore(), L"(empty)");
}

TEST_F(FlashRegistry, RenamingUpdatesTheItemsOwnEntryInPlace) {
    TznFlashList List(nullptr);
    TznFlashStream* First = AddFlash(List, L"a.swf", {1});
    TznFlashStream* Second = AddFlash(List, L"b.swf", {2});

    Second->SetFlashStore(L"B.SWF");
    ASSERT_EQ(FlashList()->Count(), 2);
    EXPECT_EQ(EntryText(0), L"a.swf");
    EXPECT_EQ(EntryText(1), L"B.SWF");
    EXPECT_EQ(EntryItem(1), Second);

    Second->SetFlashStore(L"b.swf");
    EXPECT_EQ(EntryText(1), L"b.swf") << "a change of case alone is a rename";
    EXPECT_EQ(Second->GetFlashStore(), L"b.swf");

    // Two items of one name: renaming the second must not touch the first's entry.
    First->SetFlashStore(L"b.swf");
    Second->SetFlashStore(L"c.swf");
    EXPECT_EQ(EntryText(0), L"b.swf");
    EXPECT_EQ(EntryText(1), L"c.swf");
}

TEST_F(FlashRegistry, LivesFromTheFirstItemToTheLast) {
    {
        TznFlashList List(nullptr);
        TznFlashStream* First = AddFlash(List, L"first.swf", {1});
        TznFlashStream* Second = AddFlash(List, L"second.swf", {2});
        const TStringList* Registry = FlashList();

        delete First;
        ASSERT_EQ(FlashList(), Registry);
        ASSERT_EQ(FlashList()->Count(), 1);
        EXPECT_EQ(EntryItem(0), Second) << "the entry is found by its item, not by its name";
        EXPECT_EQ(List.Flashs()->Count(), 1);
    }
    EXPECT_EQ(FlashList(), nullptr);

    TznFlashList Again(nullptr);
    Again.Flashs()->Add();
    ASSERT_NE(FlashList(), nullptr);
    EXPECT_EQ(FlashList()->Count(), 1);
}

TEST_F(FlashRegistry, EntriesOfEveryListInCreationOrder) {
    TznFlashList One(nullptr);
    auto Two = std::make_unique<TznFlashList>(nullptr);
    TznFlashStream* A = AddFlash(One, L"a.swf", {1});
    TznFlashStream* B = AddFlash(*Two, L"b.swf", {2});
    TznFlashStream* C = AddFlash(One, L"c.swf", {3});
    ASSERT_EQ(FlashList()->Count(), 3);
    EXPECT_EQ(EntryItem(0), A);
    EXPECT_EQ(EntryItem(1), B);
    EXPECT_EQ(EntryItem(2), C);

    Two.reset();
    ASSERT_EQ(FlashList()->Count(), 2);
    EXPECT_EQ(EntryItem(1), C);
}

TEST_F(FlashRegistry, LookupCopiesTheFirstCreatedItemOfThatName) {
    EXPECT_EQ(CopyFlashListStream(L"intro.swf"), nullptr) << "no registry at all";

    TznFlashList Older(nullptr);
    TznFlashList Newer(nullptr);
    TznFlashStream* Original = AddFlash(Older, L"intro.swf", TextBytes("older"));
    AddFlash(Newer, L"Intro.swf", TextBytes("newer"));
    Original->Flash().SetPosition(2);

    std::unique_ptr<TMemoryStream> Copy = CopyFlashListStream(L"INTRO.SWF");
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(Contents(*Copy), TextBytes("older"));
    EXPECT_EQ(Copy->Position(), 0);
    EXPECT_EQ(Original->Flash().Position(), 2) << "serving a file leaves its item alone";

    Copy->WriteBuffer("X", 1);
    EXPECT_EQ(Contents(Original->Flash()), TextBytes("older"));

    EXPECT_EQ(CopyFlashListStream(L"intro"), nullptr) << "the whole name must match";
    EXPECT_EQ(CopyFlashListStream(L"other.swf"), nullptr);
}

// The registry follows the user's locale; FindFlash folds A-Z only.
TEST_F(FlashRegistry, RegistryFoldsEveryLetterAndFindFlashOnlyAscii) {
    TznFlashList List(nullptr);
    TznFlashStream* Item = AddFlash(List, L"\u00e9t\u00e9.swf", {7});
    EXPECT_NE(CopyFlashListStream(L"\u00c9T\u00c9.SWF"), nullptr);
    EXPECT_EQ(List.FindFlash(L"\u00c9T\u00c9.SWF"), nullptr);
    EXPECT_EQ(List.FindFlash(L"\u00e9T\u00e9.SWF"), Item);
}

TEST_F(FlashRegistry, FindFlashTakesTheFirstInCollectionOrder) {
    TznFlashList List(nullptr);
    TznFlashStream* Later = AddFlash(List, L"clip.flv", {1});
    TznFlashStream* Earlier = AddFlash(List, L"CLIP.flv", {2});
    Earlier->SetIndex(0);
    EXPECT_EQ(List.FindFlash(L"clip.FLV"), Earlier);
    EXPECT_EQ(Later->Index(), 1);
    EXPECT_EQ(List.FindFlash(L"clip"), nullptr);
}

TEST_F(FlashRegistry, AssignFromAnItemCopiesNameAndBytes) {
    TznFlashList List(nullptr);
    TznFlashStream* Source = AddFlash(List, L"movie.swf", TextBytes("movie"));
    TznFlashStream* Target = AddFlash(List, L"old.swf", TextBytes("old bytes"));

    Target->Assign(Source);
    EXPECT_EQ(Target->GetFlashStore(), L"movie.swf");
    EXPECT_EQ(Contents(Target->Flash()), TextBytes("movie"));
    EXPECT_EQ(EntryText(1), L"movie.swf");
    EXPECT_EQ(Contents(Source->Flash()), TextBytes("movie"));

    Target->Assign(Target);
    EXPECT_EQ(Contents(Target->Flash()), TextBytes("movie"));
}

TEST_F(FlashRegistry, AssignFromAnythingElseIsTheFrameworksConversionError) {
    TznFlashList List(nullptr);
    TznFlashStream* Target = AddFlash(List, L"keep.swf", {1, 2});
    TStringList Other;
    EXPECT_THROW(Target->Assign(&Other), EConvertError);
    EXPECT_EQ(Target->GetFlashStore(), L"keep.swf");
}

TEST_F(FlashRegistry, CollectionCopiesEveryItemWithItsEntry) {
    TznFlashList From(nullptr);
    AddFlash(From, L"a.swf", TextBytes("aa"));
    AddFlash(From, L"b.swf", TextBytes("bbb"));
    TznFlashList To(nullptr);
    To.Flashs()->Assign(From.Flashs());

    ASSERT_EQ(To.Flashs()->Count(), 2);
    EXPECT_EQ(Contents(To.FindFlash(L"b.swf")->Flash()), TextBytes("bbb"));
    EXPECT_EQ(FlashList()->Count(), 4);
    EXPECT_EQ(EntryText(3), L"b.swf");
    EXPECT_EQ(To.Flashs()->GetOwner(), &To);
    EXPECT_THROW(To.Flashs()->GetItem(2), EListError);
}
