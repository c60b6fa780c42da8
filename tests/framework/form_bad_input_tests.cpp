// Damaged forms: truncated streams, lengths that lie, nesting without end, and thousands of
// seeded random mutations of valid forms. Every one must end in a framework exception (or a
// form read in full), never in a crash or an attempt to allocate what the stream cannot hold.
#include "support/stream_helpers.h"
#include "test_components.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/form_binary.h"
#include "zintara/framework/form_io.h"
#include "zintara/framework/form_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

using namespace zn;
using namespace zn::test;
using namespace std::string_literals;

namespace {

void LoadForm(const std::string& Form)
{
    TMemoryStream stream;
    Load(stream, Form);
    delete ReadComponentFromStream(stream, nullptr);
}

std::wstring ReadError(const std::string& Form)
{
    try {
        LoadForm(Form);
    } catch (const EReadError& e) {
        return e.Message();
    }
    return L"(no error)";
}

// A root with an item holding bytes, a string list and a child: most value types occur.
std::string ValidForm(TFormFormat Format)
{
    TTestComponent root(nullptr);
    root.SetName(L"Root");
    root.SetCount(-300);
    root.SetColor(0xFFFFFFF0u);
    root.SetPlugin(znNetscape);
    root.SetOptions(TOptions{TOption::opMenu});
    root.SetMovie(L"movie \u00E9.swf");
    auto* item = static_cast<TTestItem*>(root.Items()->Add());
    item->SetCaption(L"clip.flv");
    item->Bytes = "0123456789";
    item->Weight = 70000;
    static_cast<TTestItem*>(root.Items()->Add())->SetCaption(L"second");
    root.Font()->Face = L"Courier";
    root.Lines()->Add(L"line");
    auto* child = new TTestComponent(&root);
    child->SetName(L"Child");
    child->SetEnabled(false);
    TMemoryStream stream;
    WriteComponentToStream(stream, root, Format);
    return Contents(stream);
}

// The form of a root whose only property is one binary block, with Length as its prefix.
std::string BinaryBlockForm(std::uint32_t Length, const std::string& Data)
{
    std::string prefix;
    for (int i = 0; i < 4; ++i)
        prefix += static_cast<char>(Length >> (8 * i));
    return "TPF0\x0E"
           "TTestComponent"
           "\x00"
           "\x05"
           "Items"
           "\x0E"
           "\x01"
           "\x05"
           "Bytes"
           "\x0A"s +
           prefix + Data + "\x00\x00\x00\x00"s;
}

class BadForm : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
};

} // namespace

TEST_F(BadForm, EveryTruncationIsAReadError)
{
    std::string form = ValidForm(TFormFormat::Binary);
    LoadForm(form);
    for (std::size_t length = 0; length < form.size(); ++length)
        EXPECT_THROW(LoadForm(form.substr(0, length)), EReadError) << "truncated to " << length;
}

TEST_F(BadForm, LengthsThatLieAreCaughtBeforeAllocating)
{
    EXPECT_EQ(ReadError(BinaryBlockForm(2, "ab")), L"(no error)");
    for (std::uint32_t length : {0x7FFFFFFFu, 0x40000000u, 7u, 1000u}) {
        std::wstring message = ReadError(BinaryBlockForm(length, "ab"));
        EXPECT_NE(message.find(L"Length " + std::to_wstring(length) + L" beyond the end"),
                  std::wstring::npos)
            << length << ": " << std::string(message.begin(), message.end());
    }
    for (std::uint32_t length : {0xFFFFFFFFu, 0x80000000u}) {
        std::wstring message = ReadError(BinaryBlockForm(length, "ab"));
        EXPECT_NE(message.find(L"Negative length"), std::wstring::npos);
    }
    std::string wide_string = "TPF0\x0E"
                              "TTestComponent"
                              "\x00"
                              "\x05"
                              "Movie"
                              "\x12\x00\x00\x00\x40"
                              "ab\x00\x00"s;
    EXPECT_NE(ReadError(wide_string).find(L"beyond the end"), std::wstring::npos);
    std::string long_string = "TPF0\x0E"
                              "TTestComponent"
                              "\x00"
                              "\x05"
                              "Movie"
                              "\x0C\xFF\xFF\xFF\x7F"
                              "ab\x00\x00"s;
    EXPECT_NE(ReadError(long_string).find(L"beyond the end"), std::wstring::npos);
}

TEST_F(BadForm, ErrorsInsideAnItemNameTheProperty)
{
    std::wstring message = ReadError(BinaryBlockForm(1000, "ab"));
    EXPECT_EQ(message.rfind(L"Error reading TTestItem.Bytes: Length 1000 beyond the end", 0), 0u)
        << std::string(message.begin(), message.end());
}

TEST_F(BadForm, NestingWithoutEndIsRefused)
{
    std::string components = "TPF0"s;
    for (int i = 0; i < 1000; ++i)
        components += "\x0E"
                      "TTestComponent"
                      "\x00\x00"s;
    EXPECT_NE(ReadError(components).find(L"nested too deeply"), std::wstring::npos);
    std::string lists = "TPF0\x0E"
                        "TTestComponent"
                        "\x00"
                        "\x01"
                        "X"s +
                        std::string(100000, '\x01');
    TMemoryStream input, output;
    Load(input, lists);
    EXPECT_THROW(ObjectBinaryToText(input, output), EReadError);
    std::string text = "object A: TTestComponent\n  X = " + std::string(100000, '(');
    TMemoryStream text_input, binary;
    Load(text_input, text);
    EXPECT_THROW(ObjectTextToBinary(text_input, binary), EReadError);
}

// An 80-bit number's integer bit must match its exponent: 1.0 is 3FFF 8000000000000000.
TEST_F(BadForm, ExtendedNumbersInEncodingsNoWriterProducesAreReadErrors)
{
    auto convert = [](const std::string& Number) {
        TMemoryStream input, output;
        Load(input, "TPF0\x0E"
                    "TTestComponent"
                    "\x00"
                    "\x01"
                    "X"
                    "\x05"s +
                        Number + "\x00\x00"s);
        ObjectBinaryToText(input, output);
        return Contents(output);
    };
    EXPECT_NE(convert("\0\0\0\0\0\0\0\x80\xFF\x3F"s).find("X = 1.0"), std::string::npos);
    EXPECT_NE(convert("\x01\0\0\0\0\0\0\0\0\0"s).find("e-4951"), std::string::npos);
    const std::string unnormal = "\0\0\0\0\0\0\0\x40\xFF\x3F"s;
    const std::string pseudo_denormal = "\x01\0\0\0\0\0\0\x80\0\0"s;
    for (const std::string& number : {unnormal, pseudo_denormal}) {
        try {
            convert(number);
            ADD_FAILURE() << "no error";
        } catch (const EReadError& e) {
            EXPECT_NE(e.Message().find(L"Invalid extended number at offset 23"),
                      std::wstring::npos);
        }
    }
}

TEST_F(BadForm, UnknownValueTypesAreReadErrors)
{
    std::string form = "TPF0\x0E"
                       "TTestComponent"
                       "\x00"
                       "\x05"
                       "Count"
                       "\x15\x00\x00"s;
    EXPECT_NE(ReadError(form).find(L"Invalid value type 21"), std::wstring::npos);
}

TEST_F(BadForm, RandomMutationsOfBinaryFormsNeverCrash)
{
    const std::string form = ValidForm(TFormFormat::Binary);
    std::mt19937 random(20261208);
    const std::uint32_t lies[] = {0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x40000000, 0x00010000, 255};
    int failures = 0, loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string mutant = form;
        int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !mutant.empty(); ++e) {
            std::size_t at = random() % mutant.size();
            switch (random() % 5) {
            case 0: mutant[at] = static_cast<char>(random()); break;
            case 1: mutant.insert(at, 1, static_cast<char>(random())); break;
            case 2: mutant.erase(at, 1 + random() % 8); break;
            case 3: mutant.resize(at); break;
            case 4: {
                std::uint32_t lie = lies[random() % std::size(lies)];
                for (int i = 0; i < 4 && at + i < mutant.size(); ++i)
                    mutant[at + i] = static_cast<char>(lie >> (8 * i));
                break;
            }
            }
        }
        try {
            LoadForm(mutant);
            ++loaded;
        } catch (const Exception&) {
            ++failures;
        } catch (...) {
            ADD_FAILURE() << "round " << round
                          << " raised something other than a framework exception";
        }
        TMemoryStream input, output;
        Load(input, mutant);
        try {
            ObjectBinaryToText(input, output);
        } catch (const Exception&) {
        } catch (...) {
            ADD_FAILURE() << "round " << round
                          << ": the text conversion raised a foreign exception";
        }
    }
    EXPECT_GT(failures, 2000);
    EXPECT_EQ(TFailingComponent::Alive, 0);
    RecordProperty("LoadedMutants", loaded);
}

TEST_F(BadForm, RandomMutationsOfTextFormsNeverCrash)
{
    const std::string form = ValidForm(TFormFormat::Text);
    const char alphabet[] = "'#${}()<>[]=:+-.,0123456789 \r\nabcdefxyzobjectenditem\x80\xFF";
    std::mt19937 random(8122026);
    int failures = 0;
    for (int round = 0; round < 2000; ++round) {
        std::string mutant = form;
        int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !mutant.empty(); ++e) {
            std::size_t at = random() % mutant.size();
            char pick = alphabet[random() % (sizeof alphabet - 1)];
            switch (random() % 4) {
            case 0: mutant[at] = pick; break;
            case 1: mutant.insert(at, 1, pick); break;
            case 2: mutant.erase(at, 1 + random() % 8); break;
            case 3: mutant.resize(at); break;
            }
        }
        try {
            LoadForm(mutant);
        } catch (const Exception&) {
            ++failures;
        } catch (...) {
            ADD_FAILURE() << "round " << round
                          << " raised something other than a framework exception";
        }
    }
    EXPECT_GT(failures, 1000);
}
