// The text form: exact text for a known form, conversion both ways, the notations the text
// reader accepts, and the errors it names.
#include "stream_helpers.h"
#include "test_components.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/form_io.h"
#include "zintara/framework/form_text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

using namespace zn;
using namespace zn::testing;
using namespace std::string_literals;

namespace {

std::string Convert(void (*Conversion)(TStream&, TStream&), const std::string& Input) {
    TMemoryStream From, To;
    Load(From, Input);
    Conversion(From, To);
    return Contents(To);
}

std::string ToText(const std::string& Binary) { return Convert(&ObjectBinaryToText, Binary); }
std::string ToBinary(const std::string& Text) { return Convert(&ObjectTextToBinary, Text); }

std::unique_ptr<TTestComponent> ReadText(const std::string& Text) {
    TMemoryStream Stream;
    Load(Stream, Text);
    return std::unique_ptr<TTestComponent>(dynamic_cast<TTestComponent*>(ReadComponentFromStream(Stream, nullptr)));
}

const std::string ReferenceText =
    "object Root: TTestComponent\r\n"
    "  Count = 5\r\n"
    "  Options = [opLoop, opScale]\r\n"
    "  Movie = 'It''s'#13#10'two lines'\r\n"
    "  Items = <\r\n"
    "    item\r\n"
    "      Caption = 'first'\r\n"
    "      Bytes = {\r\n"
    "        000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\r\n"
    "        FF}\r\n"
    "    end\r\n"
    "    item\r\n"
    "      Caption = #233't'#20013\r\n"
    "    end>\r\n"
    "  Lines.Strings = (\r\n"
    "    'a'\r\n"
    "    'b')\r\n"
    "  object Child: TTestComponent\r\n"
    "    Enabled = False\r\n"
    "  end\r\n"
    "end\r\n";

class TextForm : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
};

} // namespace

TEST_F(TextForm, WritesTheReferenceText) {
    TTestComponent Root(nullptr);
    Root.SetName(L"Root");
    Root.SetCount(5);
    Root.SetMovie(L"It's\r\ntwo lines");
    Root.SetOptions(TOptions{TOption::opLoop, TOption::opScale});
    auto* First = static_cast<TTestItem*>(Root.Items()->Add());
    First->SetCaption(L"first");
    for (int I = 0; I < 32; ++I) First->Bytes += static_cast<char>(I);
    First->Bytes += '\xFF';
    static_cast<TTestItem*>(Root.Items()->Add())->SetCaption(L"\u00E9t\u4E2D");
    Root.Lines()->Add(L"a");
    Root.Lines()->Add(L"b");
    auto* Child = new TTestComponent(&Root);
    Child->SetName(L"Child");
    Child->SetEnabled(false);
    TMemoryStream Text;
    WriteComponentToStream(Text, Root, TFormFormat::Text);
    EXPECT_EQ(Contents(Text), ReferenceText);
}

TEST_F(TextForm, TextAndBinaryConvertBothWaysWithoutLoss) {
    std::string Binary = ToBinary(ReferenceText);
    EXPECT_EQ(Binary.substr(0, 4), "TPF0");
    EXPECT_EQ(ToText(Binary), ReferenceText);
    auto Root = ReadText(ReferenceText);
    ASSERT_NE(Root, nullptr);
    EXPECT_EQ(Root->Movie(), L"It's\r\ntwo lines");
    ASSERT_EQ(Root->Items()->Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(Root->Items()->Items(0))->Bytes.size(), 33u);
    EXPECT_EQ(static_cast<TTestItem*>(Root->Items()->Items(1))->Caption(), L"\u00E9t\u4E2D");
    TMemoryStream Again;
    WriteComponentToStream(Again, *Root, TFormFormat::Binary);
    EXPECT_EQ(Contents(Again), Binary);
}

TEST_F(TextForm, ValueNotationsAreConvertedToTheirBinaryTags) {
    std::string Binary = ToBinary(
        "object TTestComponent\n"
        "  A = -1\n  B = $7FFF\n  C = 'x' + 'y'\n  D = 1.5\n  E = 2.5s\n  F = True\n  G = nil\n"
        "  H = []\n  I = {}\n  J = <>\n  K = ()\n  L = Ident.Part\n  M = #$41'b'\n"
        "end\n");
    std::string Expected = "TPF0\x0E" "TTestComponent" "\x00"s
        + "\x01" "A" "\x02\xFF"s
        + "\x01" "B" "\x03\xFF\x7F"s
        + "\x01" "C" "\x06\x02" "xy"s
        + "\x01" "D" "\x05" "\x00\x00\x00\x00\x00\x00\x00\xC0\xFF\x3F"s
        + "\x01" "E" "\x0F" "\x00\x00\x20\x40"s
        + "\x01" "F" "\x09"s
        + "\x01" "G" "\x0D"s
        + "\x01" "H" "\x0B\x00"s
        + "\x01" "I" "\x0A\x00\x00\x00\x00"s
        + "\x01" "J" "\x0E\x00"s
        + "\x01" "K" "\x01\x00"s
        + "\x01" "L" "\x07\x0A" "Ident.Part"s
        + "\x01" "M" "\x06\x02" "Ab"s
        + "\x00\x00"s;
    EXPECT_EQ(Binary, Expected);
}

TEST_F(TextForm, NumbersOfEveryTypeSurviveTheRoundTrip) {
    std::string Text =
        "object TTestComponent\r\n"
        "  A = 1.5\r\n  B = -0.125s\r\n  C = 12.3456c\r\n  D = 45000.25d\r\n  E = 3.0\r\n"
        "  F = 0.1\r\n  G = 9223372036854775807\r\n  H = -2147483649\r\n"
        "end\r\n";
    std::string Binary = ToBinary(Text);
    EXPECT_EQ(ToText(Binary), Text);
    EXPECT_EQ(ToBinary(ToText(Binary)), Binary);
    std::string Infinite = "TPF0\x0E" "TTestComponent" "\x00" "\x01" "X" "\x05"s +
                           "\x00\x00\x00\x00\x00\x00\x00\x80\xFF\x7F"s + "\x00\x00"s;
    EXPECT_THROW(ToText(Infinite), EReadError);
}

TEST_F(TextForm, ChildPositionsAndInheritedObjectsSurvive) {
    std::string Text = "inherited Root: TTestComponent [3]\r\n  Count = 1\r\nend\r\n";
    std::string Binary = ToBinary(Text);
    EXPECT_EQ(Binary.substr(0, 7), "TPF0\xF3\x02\x03"s);
    EXPECT_EQ(ToText(Binary), Text);
}

// After a property or a child the next byte may start a name of any length or a child's
// prefix (0xF1...): neither is a value type, and neither ends the list.
TEST_F(TextForm, LongNamesAndPrefixedChildrenConvertBothWays) {
    std::string Text = "object Root: TTestComponent\r\n"
                       "  AVeryLongPropertyNameOfMoreThanTwenty = 1\r\n"
                       "  inherited Child: TTestComponent\r\n"
                       "  end\r\n"
                       "  inline Other: TTestComponent [2]\r\n"
                       "  end\r\n"
                       "end\r\n";
    EXPECT_EQ(ToText(ToBinary(Text)), Text);
}

// A binary form may hold any bytes in a name; text the parser could not read back is not written.
TEST_F(TextForm, NamesTheTextCannotHoldAreRefused) {
    const std::string Cases[] = {
        "TPF0\x0ETTestComponent\x04Root\x05" "C\0unt\x02\x05\0\0"s,
        "TPF0\x0ETTestComponent\x04Root\x06.Count\x02\x05\0\0"s,
        "TPF0\x0ETTestComponent\x04R t!\0\0"s,
        "TPF0\x05" "1Test\x04Root\0\0"s,
    };
    for (const std::string& Binary : Cases) EXPECT_THROW(ToText(Binary), EReadError) << Binary;
}

// A class name's length byte of 0xF0 or more would read back as a component's prefix.
TEST_F(TextForm, ClassNamesTheBinaryFormCannotHoldAreRefused) {
    const std::string Fits = "object " + std::string(239, 'T') + "\r\nend\r\n";
    EXPECT_EQ(ToText(ToBinary(Fits)), Fits);
    EXPECT_THROW(ToBinary("object " + std::string(240, 'T') + "\r\nend\r\n"), EWriteError);
}

// Currency is stored in ten-thousandths in 64 bits: the largest amounts keep their last digit
// both ways, where a long double on the way would round it.
TEST_F(TextForm, CurrencyAmountsConvertExactly) {
    const std::string Text = "object A: TTestComponent\r\n"
                             "  Low = -922337203685477.5808c\r\n"
                             "  High = 922337203685477.5807c\r\n"
                             "  Odd = 741236911227845.3508c\r\n"
                             "end\r\n";
    const std::string Binary = ToBinary(Text);
    EXPECT_NE(Binary.find("\x03Odd\x10\x04\x4D\x6F\x69\x6F\x06\xDE\x66"s), std::string::npos);
    EXPECT_EQ(ToText(Binary), Text);
    EXPECT_THROW(ToBinary("object A: TTestComponent\r\n  X = 922337203685477.5808c\r\nend\r\n"), EParserError);
}

TEST_F(TextForm, ErrorsNameTheLine) {
    struct {
        const char* Text;
        const wchar_t* Message;
    } Cases[] = {
        {"object A: TTestComponent\n  Count 5\nend\n", L"'=' expected on line 2 of the form text"},
        {"object A: TTestComponent\n  Movie = 'open\nend\n", L"Unterminated string on line 2 of the form text"},
        {"object A: TTestComponent\n\n  I = {0A1}\nend\n", L"Odd number of hexadecimal digits on line 3 of the form text"},
        {"thing A: TTestComponent\nend\n", L"'object' expected on line 1 of the form text"},
        {"object A: TTestComponent\n  Count = 5\n", L"Identifier expected on line 3 of the form text"},
        {"object A: TTestComponent\nend\nend\n", L"End of text expected on line 3 of the form text"},
        {"object A: TTestComponent\n  M = #70000\nend\n", L"Character code out of range on line 2 of the form text"},
        // A number its type cannot hold is refused here, not written as infinity for the
        // reader to refuse later.
        {"object A: TTestComponent\n  F = 1.5e99999\nend\n", L"Number out of range 1.5e99999 on line 2 of the form text"},
        {"object A: TTestComponent\n  F = -1e39s\nend\n", L"Number out of range -1e39s on line 2 of the form text"},
        {"object A: TTestComponent\n  F = 1e309d\nend\n", L"Number out of range 1e309d on line 2 of the form text"},
        {"object A: TTestComponent\n  F = 1e15c\nend\n", L"Number out of range 1e15c on line 2 of the form text"},
    };
    for (const auto& Case : Cases) {
        try {
            ToBinary(Case.Text);
            ADD_FAILURE() << Case.Text;
        } catch (const EParserError& E) {
            EXPECT_EQ(E.Message(), Case.Message);
        }
    }
    EXPECT_THROW(ToBinary(std::string(5000, '(')), EReadError);
}

TEST_F(TextForm, FilesInEitherFormAreRecognisedOnReading) {
    wchar_t Folder[MAX_PATH];
    GetTempPathW(MAX_PATH, Folder);
    std::wstring Base = std::wstring(Folder) + L"zn_form_" + std::to_wstring(GetCurrentProcessId());
    TTestComponent Root(nullptr);
    Root.SetName(L"Saved");
    Root.SetMovie(L"m.swf");
    for (TFormFormat Format : {TFormFormat::Binary, TFormFormat::Text}) {
        std::wstring FileName = Base + (Format == TFormFormat::Text ? L".txt" : L".bin");
        WriteComponentToFile(FileName, Root, Format);
        std::unique_ptr<TComponent> Read(ReadComponentFromFile(FileName, nullptr));
        DeleteFileW(FileName.c_str());
        auto* Copy = dynamic_cast<TTestComponent*>(Read.get());
        ASSERT_NE(Copy, nullptr);
        EXPECT_EQ(Copy->Name(), L"Saved");
        EXPECT_EQ(Copy->Movie(), L"m.swf");
    }
    EXPECT_THROW(ReadComponentFromFile(Base + L".none", nullptr), EFOpenError);
}

TEST_F(TextForm, ReadsAFormFromAResource) {
    TTestComponent Root(nullptr);
    ReadComponentResource(nullptr, L"TextForm", &Root);
    EXPECT_EQ(Root.Name(), L"FromResource");
    EXPECT_EQ(Root.Count(), 3);
    EXPECT_THROW(ReadComponentResource(nullptr, L"NoForm", &Root), EResNotFound);
}
