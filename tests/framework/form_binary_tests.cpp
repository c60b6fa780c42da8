// The binary form format, byte for byte against hand-assembled references, and reading back.
#include "stream_helpers.h"
#include "test_components.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/filer.h"
#include "zintara/framework/form_binary.h"
#include "zintara/framework/form_io.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace zn;
using namespace zn::testing;
using namespace std::string_literals;

namespace {

std::string WriteForm(TComponent& Root) {
    TMemoryStream Stream;
    WriteComponentToStream(Stream, Root);
    return Contents(Stream);
}

std::unique_ptr<TComponent> ReadForm(const std::string& Form) {
    TMemoryStream Stream;
    Load(Stream, Form);
    return std::unique_ptr<TComponent>(ReadComponentFromStream(Stream, nullptr));
}

// The form of a root TTestComponent named Root holding what FilledRoot sets, by hand.
const std::string ReferenceForm = "TPF0"s
    + "\x0E" "TTestComponent" "\x04" "Root"s
    + "\x05" "Count" "\x02\x05"s
    + "\x05" "Color" "\x03\x80\x00"s
    + "\x07" "Enabled" "\x08"s
    + "\x06" "Plugin" "\x07\x09" "znActiveX"s
    + "\x07" "Options" "\x0B" "\x06" "opLoop" "\x07" "opScale" "\x00"s
    + "\x05" "Movie" "\x06\x05" "a.swf"s
    + "\x05" "Items" "\x0E"s
    +     "\x01" "\x07" "Caption" "\x06\x01" "x" "\x06" "Weight" "\x03\x2C\x01"s
    +         "\x05" "Bytes" "\x0A\x02\x00\x00\x00" "AB" "\x00"s
    +     "\x00"s
    + "\x09" "Font.Size" "\x02\x0C"s
    + "\x0D" "Lines.Strings" "\x01" "\x06\x03" "one" "\x06\x03" "two" "\x00"s
    + "\x00"s
    +     "\x0E" "TTestComponent" "\x05" "Child" "\x00" "\x00"s
    + "\x00"s;

void Fill(TTestComponent& Root) {
    Root.SetName(L"Root");
    Root.SetCount(5);
    Root.SetColor(128);
    Root.SetEnabled(false);
    Root.SetPlugin(znActiveX);
    Root.SetOptions(TOptions{TOption::opLoop, TOption::opScale});
    Root.SetMovie(L"a.swf");
    auto* Item = static_cast<TTestItem*>(Root.Items()->Add());
    Item->SetCaption(L"x");
    Item->Weight = 300;
    Item->Bytes = "AB";
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

TEST_F(BinaryForm, WritesTheReferenceBytes) {
    TTestComponent Root(nullptr);
    Fill(Root);
    EXPECT_EQ(WriteForm(Root), ReferenceForm);
}

TEST_F(BinaryForm, DefaultValuesAreLeftOut) {
    TTestComponent Root(nullptr);
    EXPECT_EQ(WriteForm(Root), "TPF0\x0E" "TTestComponent" "\x00\x00\x00"s);
    // A Stored function that says no leaves the value out too.
    Root.SetCount(99);
    EXPECT_EQ(WriteForm(Root).size(), 22u);
}

TEST_F(BinaryForm, AStringWithoutDefaultIsAlwaysWritten) {
    TTestComponent Root(nullptr);
    Root.Items()->Add();
    std::string Form = WriteForm(Root);
    EXPECT_EQ(Form.substr(20), "\x05" "Items" "\x0E" "\x01" "\x07" "Caption" "\x06\x00" "\x00" "\x00" "\x00\x00"s);
}

TEST_F(BinaryForm, IntegersTakeTheSmallestTag) {
    struct {
        std::int64_t Value;
        std::string Expected;
    } Cases[] = {
        {0, std::string("\x02\x00", 2)},
        {-128, "\x02\x80"},
        {127, "\x02\x7F"},
        {128, std::string("\x03\x80\x00", 3)},
        {-32768, std::string("\x03\x00\x80", 3)},
        {32768, std::string("\x04\x00\x80\x00\x00", 5)},
        {-2147483647 - 1, std::string("\x04\x00\x00\x00\x80", 5)},
        {4294967295LL, std::string("\x13\xFF\xFF\xFF\xFF\x00\x00\x00\x00", 9)},
    };
    for (const auto& Case : Cases) {
        TMemoryStream Stream;
        TFormOutput(Stream).WriteInteger(Case.Value);
        EXPECT_EQ(Contents(Stream), Case.Expected) << Case.Value;
        Stream.SetPosition(0);
        TFormInput Input(Stream);
        EXPECT_EQ(Input.ReadIntegerValue(Input.ReadValue()), Case.Value);
    }
}

TEST_F(BinaryForm, StringsTakeTheirTags) {
    TMemoryStream Stream;
    TFormOutput Output(Stream);
    Output.WriteString(L"ab");
    Output.WriteString(std::wstring(256, L'z'));
    Output.WriteString(L"\u00E9\u4E2D");
    std::string Written = Contents(Stream);
    EXPECT_EQ(Written.substr(0, 4), "\x06\x02" "ab");
    EXPECT_EQ(Written.substr(4, 5), std::string("\x0C\x00\x01\x00\x00", 5));
    EXPECT_EQ(Written.substr(265), std::string("\x12\x02\x00\x00\x00\xE9\x00\x2D\x4E", 9));
    Stream.SetPosition(0);
    TFormInput Input(Stream);
    EXPECT_EQ(Input.ReadStringValue(Input.ReadValue()), L"ab");
    EXPECT_EQ(Input.ReadStringValue(Input.ReadValue()), std::wstring(256, L'z'));
    EXPECT_EQ(Input.ReadStringValue(Input.ReadValue()), L"\u00E9\u4E2D");
}

TEST_F(BinaryForm, ReadsTheReferenceBackIntoANewRoot) {
    auto Component = ReadForm(ReferenceForm);
    auto* Root = dynamic_cast<TTestComponent*>(Component.get());
    ASSERT_NE(Root, nullptr);
    EXPECT_EQ(Root->Name(), L"Root");
    EXPECT_EQ(Root->Count(), 5);
    EXPECT_EQ(Root->Color(), 128u);
    EXPECT_FALSE(Root->Enabled());
    EXPECT_EQ(Root->Plugin(), znActiveX);
    EXPECT_EQ(Root->Options(), (TOptions{TOption::opLoop, TOption::opScale}));
    EXPECT_EQ(Root->Movie(), L"a.swf");
    ASSERT_EQ(Root->Items()->Count(), 1);
    auto* Item = static_cast<TTestItem*>(Root->Items()->Items(0));
    EXPECT_EQ(Item->Caption(), L"x");
    EXPECT_EQ(Item->Weight, 300);
    EXPECT_EQ(Item->Bytes, "AB");
    EXPECT_EQ(Root->Font()->Size, 12);
    EXPECT_EQ(Root->Font()->Face, L"Tahoma");
    EXPECT_EQ(Root->Lines()->Text(), L"one\r\ntwo\r\n");
    ASSERT_EQ(Root->ComponentCount(), 1);
    EXPECT_EQ(Root->Components(0)->Name(), L"Child");
    EXPECT_EQ(WriteForm(*Root), ReferenceForm);
}

TEST_F(BinaryForm, ReadsOtherEncodingsOfTheSameValues) {
    std::string Form = std::string("TPF0\x0E" "TTestComponent" "\x01" "R", 21)
        + "\x05" "Movie" + std::string("\x14\x03\x00\x00\x00", 5) + "\xC3\xA9z"
        + "\x05" "Color" + std::string("\x04\xFF\xFF\xFF\xFF", 5)
        + "\x05" "Count" + std::string("\x13\x07\x00\x00\x00\x00\x00\x00\x00", 9)
        + "\x08" "OnChange" + "\x07\x0B" "ClickButton"
        + std::string("\x00\x00", 2);
    auto Component = ReadForm(Form);
    auto* Root = static_cast<TTestComponent*>(Component.get());
    EXPECT_EQ(Root->Movie(), L"\u00E9z");
    EXPECT_EQ(Root->Color(), 0xFFFFFFFFu);
    EXPECT_EQ(Root->Count(), 7);
    EXPECT_FALSE(Root->OnChange);
}

TEST_F(BinaryForm, LoadedComesAfterTheWholeTree) {
    TTestComponent Root(nullptr);
    Fill(Root);
    (new TTestComponent(&Root))->SetName(L"Second");
    std::string Form = WriteForm(Root);
    std::vector<std::wstring> Log;
    TTestComponent Target(nullptr);
    Target.LoadLog = &Log;
    TMemoryStream Stream;
    Load(Stream, Form);
    ReadComponentFromStream(Stream, &Target);
    EXPECT_EQ(Target.LoadedCalls, 1);
    EXPECT_FALSE(Target.WasReadingAtLoaded);
    EXPECT_TRUE(Target.ComponentState().Empty());
    ASSERT_EQ(Target.ComponentCount(), 2);
    for (int I = 0; I < 2; ++I) {
        auto* Child = static_cast<TTestComponent*>(Target.Components(I));
        EXPECT_EQ(Child->LoadedCalls, 1);
        EXPECT_EQ(Child->ComponentsSeenAtLoaded, 2) << "Loaded ran before the tree was complete";
        EXPECT_FALSE(Child->WasReadingAtLoaded);
    }
    EXPECT_EQ(Log, std::vector<std::wstring>{L"Root"});
}

TEST_F(BinaryForm, FillsComponentsTheRootAlreadyHas) {
    TTestComponent Source(nullptr);
    Fill(Source);
    static_cast<TTestComponent*>(Source.Components(0))->SetCount(42);
    std::string Form = WriteForm(Source);
    TTestComponent Target(nullptr);
    auto* Existing = new TTestComponent(&Target);
    Existing->SetName(L"Child");
    TMemoryStream Stream;
    Load(Stream, Form);
    ReadComponentFromStream(Stream, &Target);
    ASSERT_EQ(Target.ComponentCount(), 1);
    EXPECT_EQ(Target.Components(0), Existing);
    EXPECT_EQ(Existing->Count(), 42);
}

TEST_F(BinaryForm, AFailingPropertyFreesWhatWasBuilt) {
    std::string Form = std::string("TPF0\x0E" "TTestComponent" "\x04" "Root", 24) + "\x05" "Count" "\x02\x05" +
                       std::string("\x00", 1) + "\x0E" "TTestComponent" "\x02" "C1" + std::string("\x00\x00", 2) +
                       "\x11" "TFailingComponent" "\x03" "Bad" + "\x05" "Value" "\x02\xFF" +
                       std::string("\x00\x00\x00", 3);
    TTestComponent Target(nullptr);
    TMemoryStream Stream;
    Load(Stream, Form);
    try {
        ReadComponentFromStream(Stream, &Target);
        FAIL() << "the failing setter was not reported";
    } catch (const EReadError& E) {
        EXPECT_EQ(E.Message(), L"Error reading Bad.Value: negative values are refused");
    }
    EXPECT_EQ(TFailingComponent::Alive, 0);
    EXPECT_EQ(Target.ComponentCount(), 0);
    EXPECT_TRUE(Target.ComponentState().Empty());
    EXPECT_EQ(Target.LoadedCalls, 0);
    Stream.SetPosition(0);
    EXPECT_THROW(ReadComponentFromStream(Stream, nullptr), EReadError);
    EXPECT_EQ(TFailingComponent::Alive, 0);
}

TEST_F(BinaryForm, UnknownPropertiesAndClassesAreNamed) {
    std::string Unknown = std::string("TPF0\x0E" "TTestComponent" "\x04" "Root", 24) + "\x04" "Nope" "\x08" +
                          std::string("\x00\x00", 2);
    try {
        ReadForm(Unknown);
        FAIL();
    } catch (const EReadError& E) {
        EXPECT_EQ(E.Message(), L"Error reading Root.Nope: Property Nope does not exist");
    }
    std::string Class = "TPF0\x07" "TNoSuch" "\x00\x00\x00"s;
    try {
        ReadForm(Class);
        FAIL();
    } catch (const EClassNotFound& E) {
        EXPECT_EQ(E.Message(), L"Class TNoSuch not found");
    }
    EXPECT_THROW(ReadForm("TPF1"), EReadError);
    std::string BadEnum = std::string("TPF0\x0E" "TTestComponent" "\x00", 20) + "\x06" "Plugin" "\x07\x05" "znOne" +
                          std::string("\x00\x00", 2);
    EXPECT_THROW(ReadForm(BadEnum), EReadError);
    std::string BadSet = "TPF0\x0E" "TTestComponent" "\x00" "\x07" "Options" "\x0B" "\x06" "opLoop" "\x05" "opNo" "\x00"s +
                         "\x00\x00"s;
    EXPECT_THROW(ReadForm(BadSet), EReadError);
}

TEST_F(BinaryForm, AGivenRootTakesTheStoredNameUnlessASiblingHasIt) {
    TTestComponent Source(nullptr);
    Source.SetName(L"Root");
    std::string Form = WriteForm(Source);
    TComponent Owner(nullptr);
    (new TComponent(&Owner))->SetName(L"Root");
    auto* Target = new TTestComponent(&Owner);
    TMemoryStream Stream;
    Load(Stream, Form);
    ReadComponentFromStream(Stream, Target);
    EXPECT_EQ(Target->Name(), L"Root_1");
}

TEST_F(BinaryForm, WritingANameThatIsNotAnIdentifierFails) {
    TMemoryStream Stream;
    TFormOutput Output(Stream);
    EXPECT_THROW(Output.WriteShortString(std::wstring(256, L'a')), EWriteError);
    EXPECT_THROW(Output.WriteShortString(L"\u00E9"), EWriteError);
}
