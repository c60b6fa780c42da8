// String lists: associated objects, duplicates, locale-aware case-insensitive search.
#include "zintara/framework/exceptions.h"
#include "zintara/framework/strings.h"

#include <gtest/gtest.h>

using namespace zn;

TEST(StringList, KeepsOrderDuplicatesAndObjects) {
    TStringList List;
    TObject A, B;
    EXPECT_EQ(List.AddObject(L"intro.swf", &A), 0);
    EXPECT_EQ(List.Add(L"intro.swf"), 1);
    List.InsertObject(0, L"first", &B);
    ASSERT_EQ(List.Count(), 3);
    EXPECT_EQ(List.Strings(0), L"first");
    EXPECT_EQ(List.Objects(1), &A);
    EXPECT_EQ(List.Objects(2), nullptr);
    EXPECT_EQ(List.IndexOfObject(&A), 1);
    EXPECT_EQ(List.IndexOfObject(nullptr), 2);
    List.SetStrings(1, L"renamed");
    List.SetObjects(2, &B);
    EXPECT_EQ(List.Strings(1), L"renamed");
    EXPECT_EQ(List.IndexOfObject(&B), 0);
    List.Delete(0);
    EXPECT_EQ(List.Strings(0), L"renamed");
    EXPECT_EQ(List.Count(), 2);
    List.Clear();
    EXPECT_EQ(List.Count(), 0);
}

TEST(StringList, IndexOfIgnoresCaseByTheLocale) {
    TStringList List;
    List.Add(L"Intro.SWF");
    List.Add(L"\u00C9t\u00E9.flv");
    List.Add(L"intro.swf");
    EXPECT_EQ(List.IndexOf(L"INTRO.swf"), 0);
    EXPECT_EQ(List.IndexOf(L"\u00E9T\u00C9.FLV"), 1);
    EXPECT_EQ(List.IndexOf(L"intro"), -1);
    EXPECT_EQ(List.IndexOf(L""), -1);
    List.SetCaseSensitive(true);
    EXPECT_EQ(List.IndexOf(L"intro.swf"), 2);
    EXPECT_EQ(List.IndexOf(L"INTRO.SWF"), -1);
}

TEST(StringList, BadIndicesRaiseListErrors) {
    TStringList List;
    List.Add(L"only");
    EXPECT_THROW(List.Strings(1), EListError);
    EXPECT_THROW(List.Objects(-1), EListError);
    EXPECT_THROW(List.Delete(1), EListError);
    EXPECT_THROW(List.SetStrings(5, L"x"), EListError);
    EXPECT_THROW(List.Insert(2, L"x"), EListError);
    List.Insert(1, L"end");
    EXPECT_EQ(List.Strings(1), L"end");
}

TEST(StringList, TextAndAssign) {
    TStringList List;
    List.SetText(L"one\r\ntwo\nthree");
    ASSERT_EQ(List.Count(), 3);
    EXPECT_EQ(List.Strings(2), L"three");
    EXPECT_EQ(List.Text(), L"one\r\ntwo\r\nthree\r\n");
    TStringList Copy;
    Copy.Add(L"old");
    Copy.Assign(&List);
    EXPECT_EQ(Copy.Text(), List.Text());
    EXPECT_THROW(Copy.Assign(nullptr), EConvertError);
}
