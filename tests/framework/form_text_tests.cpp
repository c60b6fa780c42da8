// The text form: exact text for a known form, conversion both ways, the notations the text
// reader accepts, and the errors it names.
#include "support/stream_helpers.h"
#include "test_components.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/form_io.h"
#include "zintara/framework/form_text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

using namespace zn;
using namespace zn::test;
using namespace std::string_literals;

namespace {

std::string Convert(void (*Conversion)(TStream&, TStream&), const std::string& Input)
{
    TMemoryStream from, to;
    Load(from, Input);
    Conversion(from, to);
    return Contents(to);
}

std::string ToText(const std::string& Binary)
{
    return Convert(&ObjectBinaryToText, Binary);
}
std::string ToBinary(const std::string& Text)
{
    return Convert(&ObjectTextToBinary, Text);
}

std::unique_ptr<TTestComponent> ReadText(const std::string& Text)
{
    TMemoryStream stream;
    Load(stream, Text);
    return std::unique_ptr<TTestComponent>(
        dynamic_cast<TTestComponent*>(ReadComponentFromStream(stream, nullptr)));
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

TEST_F(TextForm, WritesTheReferenceText)
{
    TTestComponent root(nullptr);
    root.SetName(L"Root");
    root.SetCount(5);
    root.SetMovie(L"It's\r\ntwo lines");
    root.SetOptions(TOptions{TOption::opLoop, TOption::opScale});
    auto* first = static_cast<TTestItem*>(root.Items()->Add());
    first->SetCaption(L"first");
    for (int i = 0; i < 32; ++i)
        first->Bytes += static_cast<char>(i);
    first->Bytes += '\xFF';
    static_cast<TTestItem*>(root.Items()->Add())->SetCaption(L"\u00E9t\u4E2D");
    root.Lines()->Add(L"a");
    root.Lines()->Add(L"b");
    auto* child = new TTestComponent(&root);
    child->SetName(L"Child");
    child->SetEnabled(false);
    TMemoryStream text;
    WriteComponentToStream(text, root, TFormFormat::Text);
    EXPECT_EQ(Contents(text), ReferenceText);
}

TEST_F(TextForm, TextAndBinaryConvertBothWaysWithoutLoss)
{
    std::string binary = ToBinary(ReferenceText);
    EXPECT_EQ(binary.substr(0, 4), "TPF0");
    EXPECT_EQ(ToText(binary), ReferenceText);
    auto root = ReadText(ReferenceText);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Movie(), L"It's\r\ntwo lines");
    ASSERT_EQ(root->Items()->Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(root->Items()->Items(0))->Bytes.size(), 33u);
    EXPECT_EQ(static_cast<TTestItem*>(root->Items()->Items(1))->Caption(), L"\u00E9t\u4E2D");
    TMemoryStream again;
    WriteComponentToStream(again, *root, TFormFormat::Binary);
    EXPECT_EQ(Contents(again), binary);
}

TEST_F(TextForm, ValueNotationsAreConvertedToTheirBinaryTags)
{
    std::string binary = ToBinary(
        "object TTestComponent\n"
        "  A = -1\n  B = $7FFF\n  C = 'x' + 'y'\n  D = 1.5\n  E = 2.5s\n  F = True\n  G = nil\n"
        "  H = []\n  I = {}\n  J = <>\n  K = ()\n  L = Ident.Part\n  M = #$41'b'\n"
        "end\n");
    std::string expected = "TPF0\x0E"
                           "TTestComponent"
                           "\x00"s +
                           "\x01"
                           "A"
                           "\x02\xFF"s +
                           "\x01"
                           "B"
                           "\x03\xFF\x7F"s +
                           "\x01"
                           "C"
                           "\x06\x02"
                           "xy"s +
                           "\x01"
                           "D"
                           "\x05"
                           "\x00\x00\x00\x00\x00\x00\x00\xC0\xFF\x3F"s +
                           "\x01"
                           "E"
                           "\x0F"
                           "\x00\x00\x20\x40"s +
                           "\x01"
                           "F"
                           "\x09"s +
                           "\x01"
                           "G"
                           "\x0D"s +
                           "\x01"
                           "H"
                           "\x0B\x00"s +
                           "\x01"
                           "I"
                           "\x0A\x00\x00\x00\x00"s +
                           "\x01"
                           "J"
                           "\x0E\x00"s +
                           "\x01"
                           "K"
                           "\x01\x00"s +
                           "\x01"
                           "L"
                           "\x07\x0A"
                           "Ident.Part"s +
                           "\x01"
                           "M"
                           "\x06\x02"
                           "Ab"s +
                           "\x00\x00"s;
    EXPECT_EQ(binary, expected);
}

TEST_F(TextForm, NumbersOfEveryTypeSurviveTheRoundTrip)
{
    std::string text =
        "object TTestComponent\r\n"
        "  A = 1.5\r\n  B = -0.125s\r\n  C = 12.3456c\r\n  D = 45000.25d\r\n  E = 3.0\r\n"
        "  F = 0.1\r\n  G = 9223372036854775807\r\n  H = -2147483649\r\n"
        "end\r\n";
    std::string binary = ToBinary(text);
    EXPECT_EQ(ToText(binary), text);
    EXPECT_EQ(ToBinary(ToText(binary)), binary);
    std::string infinite = "TPF0\x0E"
                           "TTestComponent"
                           "\x00"
                           "\x01"
                           "X"
                           "\x05"s +
                           "\x00\x00\x00\x00\x00\x00\x00\x80\xFF\x7F"s + "\x00\x00"s;
    EXPECT_THROW(ToText(infinite), EReadError);
}

TEST_F(TextForm, ChildPositionsAndInheritedObjectsSurvive)
{
    std::string text = "inherited Root: TTestComponent [3]\r\n  Count = 1\r\nend\r\n";
    std::string binary = ToBinary(text);
    EXPECT_EQ(binary.substr(0, 7), "TPF0\xF3\x02\x03"s);
    EXPECT_EQ(ToText(binary), text);
}

// After a property or a child the next byte may start a name of any length or a child's
// prefix (0xF1...): neither is a value type, and neither ends the list.
TEST_F(TextForm, LongNamesAndPrefixedChildrenConvertBothWays)
{
    std::string text = "object Root: TTestComponent\r\n"
                       "  AVeryLongPropertyNameOfMoreThanTwenty = 1\r\n"
                       "  inherited Child: TTestComponent\r\n"
                       "  end\r\n"
                       "  inline Other: TTestComponent [2]\r\n"
                       "  end\r\n"
                       "end\r\n";
    EXPECT_EQ(ToText(ToBinary(text)), text);
}

// A binary form may hold any bytes in a name; text the parser could not read back is not written.
TEST_F(TextForm, NamesTheTextCannotHoldAreRefused)
{
    const std::string cases[] = {
        "TPF0\x0ETTestComponent\x04Root\x05"
        "C\0unt\x02\x05\0\0"s,
        "TPF0\x0ETTestComponent\x04Root\x06.Count\x02\x05\0\0"s,
        "TPF0\x0ETTestComponent\x04R t!\0\0"s,
        "TPF0\x05"
        "1Test\x04Root\0\0"s,
    };
    for (const std::string& binary : cases)
        EXPECT_THROW(ToText(binary), EReadError) << binary;
}

// A class name's length byte of 0xF0 or more would read back as a component's prefix.
TEST_F(TextForm, ClassNamesTheBinaryFormCannotHoldAreRefused)
{
    const std::string fits = "object " + std::string(239, 'T') + "\r\nend\r\n";
    EXPECT_EQ(ToText(ToBinary(fits)), fits);
    EXPECT_THROW(ToBinary("object " + std::string(240, 'T') + "\r\nend\r\n"), EWriteError);
}

// Currency is stored in ten-thousandths in 64 bits: the largest amounts keep their last digit
// both ways, where a long double on the way would round it.
TEST_F(TextForm, CurrencyAmountsConvertExactly)
{
    const std::string text = "object A: TTestComponent\r\n"
                             "  Low = -922337203685477.5808c\r\n"
                             "  High = 922337203685477.5807c\r\n"
                             "  Odd = 741236911227845.3508c\r\n"
                             "end\r\n";
    const std::string binary = ToBinary(text);
    EXPECT_NE(binary.find("\x03Odd\x10\x04\x4D\x6F\x69\x6F\x06\xDE\x66"s), std::string::npos);
    EXPECT_EQ(ToText(binary), text);
    EXPECT_THROW(ToBinary("object A: TTestComponent\r\n  X = 922337203685477.5808c\r\nend\r\n"),
                 EParserError);
}

TEST_F(TextForm, ErrorsNameTheLine)
{
    struct {
        const char* Text;
        const wchar_t* Message;
    } cases[] = {
        {"object A: TTestComponent\n  Count 5\nend\n", L"'=' expected on line 2 of the form text"},
        {"object A: TTestComponent\n  Movie = 'open\nend\n",
         L"Unterminated string on line 2 of the form text"},
        {"object A: TTestComponent\n\n  I = {0A1}\nend\n",
         L"Odd number of hexadecimal digits on line 3 of the form text"},
        {"thing A: TTestComponent\nend\n", L"'object' expected on line 1 of the form text"},
        {"object A: TTestComponent\n  Count = 5\n",
         L"Identifier expected on line 3 of the form text"},
        {"object A: TTestComponent\nend\nend\n",
         L"End of text expected on line 3 of the form text"},
        {"object A: TTestComponent\n  M = #70000\nend\n",
         L"Character code out of range on line 2 of the form text"},
        // A number its type cannot hold is refused here, not written as infinity for the
        // reader to refuse later.
        {"object A: TTestComponent\n  F = 1.5e99999\nend\n",
         L"Number out of range 1.5e99999 on line 2 of the form text"},
        {"object A: TTestComponent\n  F = -1e39s\nend\n",
         L"Number out of range -1e39s on line 2 of the form text"},
        {"object A: TTestComponent\n  F = 1e309d\nend\n",
         L"Number out of range 1e309d on line 2 of the form text"},
        {"object A: TTestComponent\n  F = 1e15c\nend\n",
         L"Number out of range 1e15c on line 2 of the form text"},
    };
    for (const auto& each : cases) {
        try {
            ToBinary(each.Text);
            ADD_FAILURE() << each.Text;
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Message(), each.Message);
        }
    }
    EXPECT_THROW(ToBinary(std::string(5000, '(')), EReadError);
}

TEST_F(TextForm, FilesInEitherFormAreRecognisedOnReading)
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring base = std::wstring(folder) + L"zn_form_" + std::to_wstring(GetCurrentProcessId());
    TTestComponent root(nullptr);
    root.SetName(L"Saved");
    root.SetMovie(L"m.swf");
    for (TFormFormat format : {TFormFormat::Binary, TFormFormat::Text}) {
        std::wstring file_name = base + (format == TFormFormat::Text ? L".txt" : L".bin");
        WriteComponentToFile(file_name, root, format);
        std::unique_ptr<TComponent> read(ReadComponentFromFile(file_name, nullptr));
        DeleteFileW(file_name.c_str());
        auto* copy = dynamic_cast<TTestComponent*>(read.get());
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->Name(), L"Saved");
        EXPECT_EQ(copy->Movie(), L"m.swf");
    }
    EXPECT_THROW(ReadComponentFromFile(base + L".none", nullptr), EFOpenError);
}

TEST_F(TextForm, ReadsAFormFromAResource)
{
    TTestComponent root(nullptr);
    ReadComponentResource(nullptr, L"TextForm", &root);
    EXPECT_EQ(root.Name(), L"FromResource");
    EXPECT_EQ(root.Count(), 3);
    EXPECT_THROW(ReadComponentResource(nullptr, L"NoForm", &root), EResNotFound);
}
