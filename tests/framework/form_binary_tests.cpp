// The binary form format, byte for byte against hand-assembled references, and reading back.
#include "support/stream_helpers.h"
#include "test_components.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/filer.h"
#include "zintara/framework/form_binary.h"
#include "zintara/framework/form_io.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace zn;
using namespace zn::test;
using namespace std::string_literals;

namespace {

std::string WriteForm(TComponent& Root)
{
    TMemoryStream stream;
    WriteComponentToStream(stream, Root);
    return Contents(stream);
}

std::unique_ptr<TComponent> ReadForm(const std::string& Form)
{
    TMemoryStream stream;
    Load(stream, Form);
    return std::unique_ptr<TComponent>(ReadComponentFromStream(stream, nullptr));
}

// The form of a root TTestComponent named Root holding what FilledRoot sets, by hand.
const std::string ReferenceForm = "TPF0"s +
                                  "\x0E"
                                  "TTestComponent"
                                  "\x04"
                                  "Root"s +
                                  "\x05"
                                  "Count"
                                  "\x02\x05"s +
                                  "\x05"
                                  "Color"
                                  "\x03\x80\x00"s +
                                  "\x07"
                                  "Enabled"
                                  "\x08"s +
                                  "\x06"
                                  "Plugin"
                                  "\x07\x09"
                                  "znActiveX"s +
                                  "\x07"
                                  "Options"
                                  "\x0B"
                                  "\x06"
                                  "opLoop"
                                  "\x07"
                                  "opScale"
                                  "\x00"s +
                                  "\x05"
                                  "Movie"
                                  "\x06\x05"
                                  "a.swf"s +
                                  "\x05"
                                  "Items"
                                  "\x0E"s +
                                  "\x01"
                                  "\x07"
                                  "Caption"
                                  "\x06\x01"
                                  "x"
                                  "\x06"
                                  "Weight"
                                  "\x03\x2C\x01"s +
                                  "\x05"
                                  "Bytes"
                                  "\x0A\x02\x00\x00\x00"
                                  "AB"
                                  "\x00"s +
                                  "\x00"s +
                                  "\x09"
                                  "Font.Size"
                                  "\x02\x0C"s +
                                  "\x0D"
                                  "Lines.Strings"
                                  "\x01"
                                  "\x06\x03"
                                  "one"
                                  "\x06\x03"
                                  "two"
                                  "\x00"s +
                                  "\x00"s +
                                  "\x0E"
                                  "TTestComponent"
                                  "\x05"
                                  "Child"
                                  "\x00"
                                  "\x00"s +
                                  "\x00"s;

void Fill(TTestComponent& Root)
{
    Root.SetName(L"Root");
    Root.SetCount(5);
    Root.SetColor(128);
    Root.SetEnabled(false);
    Root.SetPlugin(znActiveX);
    Root.SetOptions(TOptions{TOption::opLoop, TOption::opScale});
    Root.SetMovie(L"a.swf");
    auto* item = static_cast<TTestItem*>(Root.Items()->Add());
    item->SetCaption(L"x");
    item->Weight = 300;
    item->Bytes = "AB";
    Root.Font()->Size = 12;
    Root.Lines()->Add(L"one");
    Root.Lines()->Add(L"two");
    (new TTestComponent(&Root))->SetName(L"Child");
}

class BinaryForm : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
};

} // namespace

TEST_F(BinaryForm, WritesTheReferenceBytes)
{
    TTestComponent root(nullptr);
    Fill(root);
    EXPECT_EQ(WriteForm(root), ReferenceForm);
}

TEST_F(BinaryForm, DefaultValuesAreLeftOut)
{
    TTestComponent root(nullptr);
    EXPECT_EQ(WriteForm(root), "TPF0\x0E"
                               "TTestComponent"
                               "\x00\x00\x00"s);
    // A Stored function that says no leaves the value out too.
    root.SetCount(99);
    EXPECT_EQ(WriteForm(root).size(), 22u);
}

TEST_F(BinaryForm, AStringWithoutDefaultIsAlwaysWritten)
{
    TTestComponent root(nullptr);
    root.Items()->Add();
    std::string form = WriteForm(root);
    EXPECT_EQ(form.substr(20), "\x05"
                               "Items"
                               "\x0E"
                               "\x01"
                               "\x07"
                               "Caption"
                               "\x06\x00"
                               "\x00"
                               "\x00"
                               "\x00\x00"s);
}

TEST_F(BinaryForm, IntegersTakeTheSmallestTag)
{
    struct {
        std::int64_t Value;
        std::string Expected;
    } cases[] = {
        {0, std::string("\x02\x00", 2)},
        {-128, "\x02\x80"},
        {127, "\x02\x7F"},
        {128, std::string("\x03\x80\x00", 3)},
        {-32768, std::string("\x03\x00\x80", 3)},
        {32768, std::string("\x04\x00\x80\x00\x00", 5)},
        {-2147483647 - 1, std::string("\x04\x00\x00\x00\x80", 5)},
        {4294967295LL, std::string("\x13\xFF\xFF\xFF\xFF\x00\x00\x00\x00", 9)},
    };
    for (const auto& each : cases) {
        TMemoryStream stream;
        TFormOutput(stream).WriteInteger(each.Value);
        EXPECT_EQ(Contents(stream), each.Expected) << each.Value;
        stream.SetPosition(0);
        TFormInput input(stream);
        EXPECT_EQ(input.ReadIntegerValue(input.ReadValue()), each.Value);
    }
}

TEST_F(BinaryForm, StringsTakeTheirTags)
{
    TMemoryStream stream;
    TFormOutput output(stream);
    output.WriteString(L"ab");
    output.WriteString(std::wstring(256, L'z'));
    output.WriteString(L"\u00E9\u4E2D");
    std::string written = Contents(stream);
    EXPECT_EQ(written.substr(0, 4), "\x06\x02"
                                    "ab");
    EXPECT_EQ(written.substr(4, 5), std::string("\x0C\x00\x01\x00\x00", 5));
    EXPECT_EQ(written.substr(265), std::string("\x12\x02\x00\x00\x00\xE9\x00\x2D\x4E", 9));
    stream.SetPosition(0);
    TFormInput input(stream);
    EXPECT_EQ(input.ReadStringValue(input.ReadValue()), L"ab");
    EXPECT_EQ(input.ReadStringValue(input.ReadValue()), std::wstring(256, L'z'));
    EXPECT_EQ(input.ReadStringValue(input.ReadValue()), L"\u00E9\u4E2D");
}

TEST_F(BinaryForm, ReadsTheReferenceBackIntoANewRoot)
{
    auto component = ReadForm(ReferenceForm);
    auto* root = dynamic_cast<TTestComponent*>(component.get());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Name(), L"Root");
    EXPECT_EQ(root->Count(), 5);
    EXPECT_EQ(root->Color(), 128u);
    EXPECT_FALSE(root->Enabled());
    EXPECT_EQ(root->Plugin(), znActiveX);
    EXPECT_EQ(root->Options(), (TOptions{TOption::opLoop, TOption::opScale}));
    EXPECT_EQ(root->Movie(), L"a.swf");
    ASSERT_EQ(root->Items()->Count(), 1);
    auto* item = static_cast<TTestItem*>(root->Items()->Items(0));
    EXPECT_EQ(item->Caption(), L"x");
    EXPECT_EQ(item->Weight, 300);
    EXPECT_EQ(item->Bytes, "AB");
    EXPECT_EQ(root->Font()->Size, 12);
    EXPECT_EQ(root->Font()->Face, L"Tahoma");
    EXPECT_EQ(root->Lines()->Text(), L"one\r\ntwo\r\n");
    ASSERT_EQ(root->ComponentCount(), 1);
    EXPECT_EQ(root->Components(0)->Name(), L"Child");
    EXPECT_EQ(WriteForm(*root), ReferenceForm);
}

TEST_F(BinaryForm, ReadsOtherEncodingsOfTheSameValues)
{
    std::string form = std::string("TPF0\x0E"
                                   "TTestComponent"
                                   "\x01"
                                   "R",
                                   21) +
                       "\x05"
                       "Movie" +
                       std::string("\x14\x03\x00\x00\x00", 5) + "\xC3\xA9z" +
                       "\x05"
                       "Color" +
                       std::string("\x04\xFF\xFF\xFF\xFF", 5) +
                       "\x05"
                       "Count" +
                       std::string("\x13\x07\x00\x00\x00\x00\x00\x00\x00", 9) +
                       "\x08"
                       "OnChange" +
                       "\x07\x0B"
                       "ClickButton" +
                       std::string("\x00\x00", 2);
    auto component = ReadForm(form);
    auto* root = static_cast<TTestComponent*>(component.get());
    EXPECT_EQ(root->Movie(), L"\u00E9z");
    EXPECT_EQ(root->Color(), 0xFFFFFFFFu);
    EXPECT_EQ(root->Count(), 7);
    EXPECT_FALSE(root->OnChange);
}

TEST_F(BinaryForm, LoadedComesAfterTheWholeTree)
{
    TTestComponent root(nullptr);
    Fill(root);
    (new TTestComponent(&root))->SetName(L"Second");
    std::string form = WriteForm(root);
    std::vector<std::wstring> log;
    TTestComponent target(nullptr);
    target.LoadLog = &log;
    TMemoryStream stream;
    Load(stream, form);
    ReadComponentFromStream(stream, &target);
    EXPECT_EQ(target.LoadedCalls, 1);
    EXPECT_FALSE(target.WasReadingAtLoaded);
    EXPECT_TRUE(target.ComponentState().Empty());
    ASSERT_EQ(target.ComponentCount(), 2);
    for (int i = 0; i < 2; ++i) {
        auto* child = static_cast<TTestComponent*>(target.Components(i));
        EXPECT_EQ(child->LoadedCalls, 1);
        EXPECT_EQ(child->ComponentsSeenAtLoaded, 2) << "Loaded ran before the tree was complete";
        EXPECT_FALSE(child->WasReadingAtLoaded);
    }
    EXPECT_EQ(log, std::vector<std::wstring>{L"Root"});
}

TEST_F(BinaryForm, FillsComponentsTheRootAlreadyHas)
{
    TTestComponent source(nullptr);
    Fill(source);
    static_cast<TTestComponent*>(source.Components(0))->SetCount(42);
    std::string form = WriteForm(source);
    TTestComponent target(nullptr);
    auto* existing = new TTestComponent(&target);
    existing->SetName(L"Child");
    TMemoryStream stream;
    Load(stream, form);
    ReadComponentFromStream(stream, &target);
    ASSERT_EQ(target.ComponentCount(), 1);
    EXPECT_EQ(target.Components(0), existing);
    EXPECT_EQ(existing->Count(), 42);
}

TEST_F(BinaryForm, AFailingPropertyFreesWhatWasBuilt)
{
    std::string form = std::string("TPF0\x0E"
                                   "TTestComponent"
                                   "\x04"
                                   "Root",
                                   24) +
                       "\x05"
                       "Count"
                       "\x02\x05" +
                       std::string("\x00", 1) +
                       "\x0E"
                       "TTestComponent"
                       "\x02"
                       "C1" +
                       std::string("\x00\x00", 2) +
                       "\x11"
                       "TFailingComponent"
                       "\x03"
                       "Bad" +
                       "\x05"
                       "Value"
                       "\x02\xFF" +
                       std::string("\x00\x00\x00", 3);
    TTestComponent target(nullptr);
    TMemoryStream stream;
    Load(stream, form);
    try {
        ReadComponentFromStream(stream, &target);
        FAIL() << "the failing setter was not reported";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), L"Error reading Bad.Value: negative values are refused");
    }
    EXPECT_EQ(TFailingComponent::Alive, 0);
    EXPECT_EQ(target.ComponentCount(), 0);
    EXPECT_TRUE(target.ComponentState().Empty());
    EXPECT_EQ(target.LoadedCalls, 0);
    stream.SetPosition(0);
    EXPECT_THROW(ReadComponentFromStream(stream, nullptr), EReadError);
    EXPECT_EQ(TFailingComponent::Alive, 0);
}

TEST_F(BinaryForm, UnknownPropertiesAndClassesAreNamed)
{
    std::string unknown = std::string("TPF0\x0E"
                                      "TTestComponent"
                                      "\x04"
                                      "Root",
                                      24) +
                          "\x04"
                          "Nope"
                          "\x08" +
                          std::string("\x00\x00", 2);
    try {
        ReadForm(unknown);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), L"Error reading Root.Nope: Property Nope does not exist");
    }
    std::string unknown_class = "TPF0\x07"
                                "TNoSuch"
                                "\x00\x00\x00"s;
    try {
        ReadForm(unknown_class);
        FAIL();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), L"Class TNoSuch not found");
    }
    EXPECT_THROW(ReadForm("TPF1"), EReadError);
    std::string bad_enum = std::string("TPF0\x0E"
                                       "TTestComponent"
                                       "\x00",
                                       20) +
                           "\x06"
                           "Plugin"
                           "\x07\x05"
                           "znOne" +
                           std::string("\x00\x00", 2);
    EXPECT_THROW(ReadForm(bad_enum), EReadError);
    std::string bad_set = "TPF0\x0E"
                          "TTestComponent"
                          "\x00"
                          "\x07"
                          "Options"
                          "\x0B"
                          "\x06"
                          "opLoop"
                          "\x05"
                          "opNo"
                          "\x00"s +
                          "\x00\x00"s;
    EXPECT_THROW(ReadForm(bad_set), EReadError);
}

TEST_F(BinaryForm, AGivenRootTakesTheStoredNameUnlessASiblingHasIt)
{
    TTestComponent source(nullptr);
    source.SetName(L"Root");
    std::string form = WriteForm(source);
    TComponent owner(nullptr);
    (new TComponent(&owner))->SetName(L"Root");
    auto* target = new TTestComponent(&owner);
    TMemoryStream stream;
    Load(stream, form);
    ReadComponentFromStream(stream, target);
    EXPECT_EQ(target->Name(), L"Root_1");
}

TEST_F(BinaryForm, WritingANameThatIsNotAnIdentifierFails)
{
    TMemoryStream stream;
    TFormOutput output(stream);
    EXPECT_THROW(output.WriteShortString(std::wstring(256, L'a')), EWriteError);
    EXPECT_THROW(output.WriteShortString(L"\u00E9"), EWriteError);
}
