// Thousands of seeded mutations of a valid form holding a list of embedded files, read back:
// each either loads or fails with a framework exception, and nothing it built outlives it.
#include "zintara/core/flash_list.h"

#include "flash_list_test_support.h"

#include "zintara/framework/data_module.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/form_io.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace zn;
using namespace zn::testing_support;

namespace {

TBytes ValidForm(TFormFormat Format) {
    TDataModule Root(nullptr);
    Root.SetName(L"Data");
    auto* Files = new TznFlashList(&Root);
    Files->SetName(L"Files");
    AddFlash(*Files, L"a.swf", TextBytes("FWS\x0a movie bytes"));
    AddFlash(*Files, L"", {});
    AddFlash(*Files, L"\u4e2d.xml", TextBytes("<x/>"));
    TMemoryStream Form;
    WriteComponentToStream(Form, Root, Format);
    return Contents(Form);
}

// The values that make lengths lie the most.
constexpr std::uint32_t Extremes[] = {0, 1, 0x7F, 0x80, 0xFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x40000000, 0x10000};

TBytes Mutate(TBytes Form, std::mt19937& Random) {
    auto Pick = [&](std::size_t Limit) { return std::uniform_int_distribution<std::size_t>(0, Limit - 1)(Random); };
    int Changes = 1 + static_cast<int>(Pick(3));
    for (int Change = 0; Change < Changes && !Form.empty(); ++Change) {
        std::size_t At = Pick(Form.size());
        switch (Pick(5)) {
        case 0: Form[At] ^= static_cast<unsigned char>(1u << Pick(8)); break;
        case 1: Form[At] = static_cast<unsigned char>(Pick(256)); break;
        case 2: {
            std::uint32_t Value = Extremes[Pick(std::size(Extremes))];
            for (std::size_t I = 0; I < 4 && At + I < Form.size(); ++I)
                Form[At + I] = static_cast<unsigned char>(Value >> (8 * I));
            break;
        }
        case 3: Form.resize(At); break;
        default: Form.erase(Form.begin() + static_cast<std::ptrdiff_t>(At),
                            Form.begin() + static_cast<std::ptrdiff_t>(std::min(Form.size(), At + 1 + Pick(8))));
        }
    }
    return Form;
}

// Loads or fails with a framework exception; anything else is a fault of the reader.
void ReadMutations(TFormFormat Format, int Count, std::uint32_t Seed) {
    RegisterFlashListClasses();
    TBytes Valid = ValidForm(Format);
    std::mt19937 Random(Seed);
    int Loaded = 0;
    for (int Run = 0; Run < Count; ++Run) {
        TBytes Form = Mutate(Valid, Random);
        TMemoryStream Stream;
        Stream.WriteBuffer(Form.data(), Form.size());
        Stream.SetPosition(0);
        try {
            std::unique_ptr<TComponent>(ReadComponentFromStream(Stream, nullptr));
            ++Loaded;
        } catch (const Exception&) {
        } catch (const std::exception& Error) {
            ADD_FAILURE() << "run " << Run << ": not a framework exception: " << Error.what();
        }
        ASSERT_EQ(FlashList(), nullptr) << "run " << Run << " left items behind";
    }
    // A mutator that always breaks the form, or never does, tests only half of the reader.
    EXPECT_GT(Loaded, 0);
    EXPECT_LT(Loaded, Count);
}

} // namespace

TEST(FlashListMutations, BinaryForms) { ReadMutations(TFormFormat::Binary, 4000, 20261208); }

TEST(FlashListMutations, TextForms) { ReadMutations(TFormFormat::Text, 1500, 4711); }
