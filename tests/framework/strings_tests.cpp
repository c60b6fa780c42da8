// String lists: associated objects, duplicates, locale-aware case-insensitive search.
#include "zintara/framework/exceptions.h"
#include "zintara/framework/strings.h"

#include <gtest/gtest.h>

using namespace zn;

TEST(StringList, KeepsOrderDuplicatesAndObjects)
{
    TStringList list;
    TObject a, b;
    EXPECT_EQ(list.AddObject(L"intro.swf", &a), 0);
    EXPECT_EQ(list.Add(L"intro.swf"), 1);
    list.InsertObject(0, L"first", &b);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(0), L"first");
    EXPECT_EQ(list.Objects(1), &a);
    EXPECT_EQ(list.Objects(2), nullptr);
    EXPECT_EQ(list.IndexOfObject(&a), 1);
    EXPECT_EQ(list.IndexOfObject(nullptr), 2);
    list.SetStrings(1, L"renamed");
    list.SetObjects(2, &b);
    EXPECT_EQ(list.Strings(1), L"renamed");
    EXPECT_EQ(list.IndexOfObject(&b), 0);
    list.Delete(0);
    EXPECT_EQ(list.Strings(0), L"renamed");
    EXPECT_EQ(list.Count(), 2);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, IndexOfIgnoresCaseByTheLocale)
{
    TStringList list;
    list.Add(L"Intro.SWF");
    list.Add(L"\u00C9t\u00E9.flv");
    list.Add(L"intro.swf");
    EXPECT_EQ(list.IndexOf(L"INTRO.swf"), 0);
    EXPECT_EQ(list.IndexOf(L"\u00E9T\u00C9.FLV"), 1);
    EXPECT_EQ(list.IndexOf(L"intro"), -1);
    EXPECT_EQ(list.IndexOf(L""), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf(L"intro.swf"), 2);
    EXPECT_EQ(list.IndexOf(L"INTRO.SWF"), -1);
}

TEST(StringList, BadIndicesRaiseListErrors)
{
    TStringList list;
    list.Add(L"only");
    EXPECT_THROW(list.Strings(1), EListError);
    EXPECT_THROW(list.Objects(-1), EListError);
    EXPECT_THROW(list.Delete(1), EListError);
    EXPECT_THROW(list.SetStrings(5, L"x"), EListError);
    EXPECT_THROW(list.Insert(2, L"x"), EListError);
    list.Insert(1, L"end");
    EXPECT_EQ(list.Strings(1), L"end");
}

TEST(StringList, TextAndAssign)
{
    TStringList list;
    list.SetText(L"one\r\ntwo\nthree");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(2), L"three");
    EXPECT_EQ(list.Text(), L"one\r\ntwo\r\nthree\r\n");
    TStringList copy;
    copy.Add(L"old");
    copy.Assign(&list);
    EXPECT_EQ(copy.Text(), list.Text());
    EXPECT_THROW(copy.Assign(nullptr), EConvertError);
}
