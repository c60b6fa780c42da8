// Damaged forms: truncated streams, lengths that lie, nesting without end, and thousands of
// seeded random mutations of valid forms. Every one must end in a framework exception (or a
// form read in full), never in a crash or an attempt to allocate what the stream cannot hold.
#include "stream_helpers.h"
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
using namespace zn::testing;
using namespace std::string_literals;

namespace {

void LoadForm(const std::string& Form) {
    TMemoryStream Stream;
    Load(Stream, Form);
    delete ReadComponentFromStream(Stream, nullptr);
}

std::wstring ReadError(const std::string& Form) {
    try {
        LoadForm(Form);
    } catch (const EReadError& E) {
        return E.Message();
    }
    return L"(no error)";
}

// A root with an item holding bytes, a string list and a child: most value types occur.
std::string ValidForm(TFormFormat Format) {
    TTestComponent Root(nullptr);
    Root.SetName(L"Root");
    Root.SetCount(-300);
    Root.SetColor(0xFFFFFFF0u);
    Root.SetPlugin(znNetscape);
    Root.SetOptions(TOptions{TOption::opMenu});
    Root.SetMovie(L"movie \u00E9.swf");
    auto* Item = static_cast<TTestItem*>(Root.Items()->Add());
    Item->SetCaption(L"clip.flv");
    Item->Bytes = "0123456789";
    Item->Weight = 70000;
    static_cast<TTestItem*>(Root.Items()->Add())->SetCaption(L"second");
    Root.Font()->Face = L"Courier";
    Root.Lines()->Add(L"line");
    auto* Child = new TTestComponent(&Root);
    Child->SetName(L"Child");
    Child->SetEnabled(false);
    TMemoryStream Stream;
    WriteComponentToStream(Stream, Root, Format);
    return Contents(Stream);
}

// The form of a root whose only property is one binary block, with Length as its prefix.
std::string BinaryBlockForm(std::uint32_t Length, const std::string& Data) {
    std::string Prefix;
    for (int I = 0; I < 4; ++I) Prefix += static_cast<char>(Length >> (8 * I));
    return "TPF0\x0E" "TTestComponent" "\x00" "\x05" "Items" "\x0E" "\x01" "\x05" "Bytes" "\x0A"s + Prefix + Data +
           "\x00\x00\x00\x00"s;
}

class BadForm : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
};

} // namespace

TEST_F(BadForm, EveryTruncationIsAReadError) {
    std::string Form = ValidForm(TFormFormat::Binary);
    LoadForm(Form);
    for (std::size_t Length = 0; Length < Form.size(); ++Length)
        EXPECT_THROW(LoadForm(Form.substr(0, Length)), EReadError) << "truncated to " << Length;
}

TEST_F(BadForm, LengthsThatLieAreCaughtBeforeAllocating) {
    EXPECT_EQ(ReadError(BinaryBlockForm(2, "ab")), L"(no error)");
    for (std::uint32_t Length : {0x7FFFFFFFu, 0x40000000u, 7u, 1000u}) {
        std::wstring Message = ReadError(BinaryBlockForm(Length, "ab"));
        EXPECT_NE(Message.find(L"Length " + std::to_wstring(Length) + L" beyond the end"), std::wstring::npos)
            << Length << ": " << std::string(Message.begin(), Message.end());
    }
    for (std::uint32_t Length : {0xFFFFFFFFu, 0x80000000u}) {
        std::wstring Message = ReadError(BinaryBlockForm(Length, "ab"));
        EXPECT_NE(Message.find(L"Negative length"), std::wstring::npos);
    }
    std::string WideString = "TPF0\x0E" "TTestComponent" "\x00" "\x05" "Movie" "\x12\x00\x00\x00\x40" "ab\x00\x00"s;
    EXPECT_NE(ReadError(WideString).find(L"beyond the end"), std::wstring::npos);
    std::string LongString = "TPF0\x0E" "TTestComponent" "\x00" "\x05" "Movie" "\x0C\xFF\xFF\xFF\x7F" "ab\x00\x00"s;
    EXPECT_NE(ReadError(LongString).find(L"beyond the end"), std::wstring::npos);
}

TEST_F(BadForm, ErrorsInsideAnItemNameTheProperty) {
    std::wstring Message = ReadError(BinaryBlockForm(1000, "ab"));
    EXPECT_EQ(Message.rfind(L"Error reading TTestItem.Bytes: Length 1000 beyond the end", 0), 0u)
        << std::string(Message.begin(), Message.end());
}

TEST_F(BadForm, NestingWithoutEndIsRefused) {
    std::string Components = "TPF0"s;
    for (int I = 0; I < 1000; ++I) Components += "\x0E" "TTestComponent" "\x00\x00"s;
    EXPECT_NE(ReadError(Components).find(L"nested too deeply"), std::wstring::npos);
    std::string Lists = "TPF0\x0E" "TTestComponent" "\x00" "\x01" "X"s + std::string(100000, '\x01');
    TMemoryStream Input, Output;
    Load(Input, Lists);
    EXPECT_THROW(ObjectBinaryToText(Input, Output), EReadError);
    std::string Text = "object A: TTestComponent\n  X = " + std::string(100000, '(');
    TMemoryStream TextInput, Binary;
    Load(TextInput, Text);
    EXPECT_THROW(ObjectTextToBinary(TextInput, Binary), EReadError);
}

// An 80-bit number's integer bit must match its exponent: 1.0 is 3FFF 8000000000000000.
TEST_F(BadForm, ExtendedNumbersInEncodingsNoWriterProducesAreReadErrors) {
    auto Convert = [](const std::string& Number) {
        TMemoryStream Input, Output;
        Load(Input, "TPF0\x0E" "TTestComponent" "\x00" "\x01" "X" "\x05"s + Number + "\x00\x00"s);
        ObjectBinaryToText(Input, Output);
        return Contents(Output);
    };
    EXPECT_NE(Convert("\0\0\0\0\0\0\0\x80\xFF\x3F"s).find("X = 1.0"), std::string::npos);
    EXPECT_NE(Convert("\x01\0\0\0\0\0\0\0\0\0"s).find("e-4951"), std::string::npos);
    const std::string Unnormal = "\0\0\0\0\0\0\0\x40\xFF\x3F"s;
    const std::string PseudoDenormal = "\x01\0\0\0\0\0\0\x80\0\0"s;
    for (const std::string& Number : {Unnormal, PseudoDenormal}) {
        try {
            Convert(Number);
            ADD_FAILURE() << "no error";
        } catch (const EReadError& E) {
            EXPECT_NE(E.Message().find(L"Invalid extended number at offset 23"), std::wstring::npos);
        }
    }
}

TEST_F(BadForm, UnknownValueTypesAreReadErrors) {
    std::string Form = "TPF0\x0E" "TTestComponent" "\x00" "\x05" "Count" "\x15\x00\x00"s;
    EXPECT_NE(ReadError(Form).find(L"Invalid value type 21"), std::wstring::npos);
}

TEST_F(BadForm, RandomMutationsOfBinaryFormsNeverCrash) {
    const std::string Form = ValidForm(TFormFormat::Binary);
    std::mt19937 Random(20261208);
    const std::uint32_t Lies[] = {0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x40000000, 0x00010000, 255};
    int Failures = 0, Loaded = 0;
    for (int Round = 0; Round < 3000; ++Round) {
        std::string Mutant = Form;
        int Edits = 1 + static_cast<int>(Random() % 4);
        for (int E = 0; E < Edits && !Mutant.empty(); ++E) {
            std::size_t At = Random() % Mutant.size();
            switch (Random() % 5) {
            case 0: Mutant[At] = static_cast<char>(Random()); break;
            case 1: Mutant.insert(At, 1, static_cast<char>(Random())); break;
            case 2: Mutant.erase(At, 1 + Random() % 8); break;
            case 3: Mutant.resize(At); break;
            case 4: {
                std::uint32_t Lie = Lies[Random() % std::size(Lies)];
                for (int I = 0; I < 4 && At + I < Mutant.size(); ++I) Mutant[At + I] = static_cast<char>(Lie >> (8 * I));
                break;
            }
            }
        }
        try {
            LoadForm(Mutant);
            ++Loaded;
        } catch (const Exception&) {
            ++Failures;
        } catch (...) {
            ADD_FAILURE() << "round " << Round << " raised something other than a framework exception";
        }
        TMemoryStream Input, Output;
        Load(Input, Mutant);
        try {
            ObjectBinaryToText(Input, Output);
        } catch (const Exception&) {
        } catch (...) {
            ADD_FAILURE() << "round " << Round << ": the text conversion raised a foreign exception";
        }
    }
    EXPECT_GT(Failures, 2000);
    EXPECT_EQ(TFailingComponent::Alive, 0);
    RecordProperty("LoadedMutants", Loaded);
}

TEST_F(BadForm, RandomMutationsOfTextFormsNeverCrash) {
    const std::string Form = ValidForm(TFormFormat::Text);
    const char Alphabet[] = "'#${}()<>[]=:+-.,0123456789 \r\nabcdefxyzobjectenditem\x80\xFF";
    std::mt19937 Random(8122026);
    int Failures = 0;
    for (int Round = 0; Round < 2000; ++Round) {
        std::string Mutant = Form;
        int Edits = 1 + static_cast<int>(Random() % 4);
        for (int E = 0; E < Edits && !Mutant.empty(); ++E) {
            std::size_t At = Random() % Mutant.size();
            char Pick = Alphabet[Random() % (sizeof Alphabet - 1)];
            switch (Random() % 4) {
            case 0: Mutant[At] = Pick; break;
            case 1: Mutant.insert(At, 1, Pick); break;
            case 2: Mutant.erase(At, 1 + Random() % 8); break;
            case 3: Mutant.resize(At); break;
            }
        }
        try {
            LoadForm(Mutant);
        } catch (const Exception&) {
            ++Failures;
        } catch (...) {
            ADD_FAILURE() << "round " << Round << " raised something other than a framework exception";
        }
    }
    EXPECT_GT(Failures, 1000);
}
