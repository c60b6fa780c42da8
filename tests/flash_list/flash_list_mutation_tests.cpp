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
using namespace zn::test;

namespace {

TBytes ValidForm(TFormFormat Format)
{
    TDataModule root(nullptr);
    root.SetName(L"Data");
    auto* files = new TznFlashList(&root);
    files->SetName(L"Files");
    AddFlash(*files, L"a.swf", TextBytes("FWS\x0a movie bytes"));
    AddFlash(*files, L"", {});
    AddFlash(*files, L"\u4e2d.xml", TextBytes("<x/>"));
    TMemoryStream form;
    WriteComponentToStream(form, root, Format);
    return Contents(form);
}

// The values that make lengths lie the most.
constexpr std::uint32_t Extremes[] = {0,          1,          0x7F,       0x80,       0xFF,
                                      0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x40000000, 0x10000};

TBytes Mutate(TBytes Form, std::mt19937& Random)
{
    auto pick = [&](std::size_t Limit) {
        return std::uniform_int_distribution<std::size_t>(0, Limit - 1)(Random);
    };
    int changes = 1 + static_cast<int>(pick(3));
    for (int change = 0; change < changes && !Form.empty(); ++change) {
        std::size_t at = pick(Form.size());
        switch (pick(5)) {
        case 0: Form[at] ^= static_cast<unsigned char>(1u << pick(8)); break;
        case 1: Form[at] = static_cast<unsigned char>(pick(256)); break;
        case 2: {
            std::uint32_t value = Extremes[pick(std::size(Extremes))];
            for (std::size_t i = 0; i < 4 && at + i < Form.size(); ++i)
                Form[at + i] = static_cast<unsigned char>(value >> (8 * i));
            break;
        }
        case 3: Form.resize(at); break;
        default:
            Form.erase(Form.begin() + static_cast<std::ptrdiff_t>(at),
                       Form.begin() +
                           static_cast<std::ptrdiff_t>(std::min(Form.size(), at + 1 + pick(8))));
        }
    }
    return Form;
}

// Loads or fails with a framework exception; anything else is a fault of the reader.
void ReadMutations(TFormFormat Format, int Count, std::uint32_t Seed)
{
    RegisterFlashListClasses();
    TBytes valid = ValidForm(Format);
    std::mt19937 random(Seed);
    int loaded = 0;
    for (int run = 0; run < Count; ++run) {
        TBytes form = Mutate(valid, random);
        TMemoryStream stream;
        stream.WriteBuffer(form.data(), form.size());
        stream.SetPosition(0);
        try {
            std::unique_ptr<TComponent>(ReadComponentFromStream(stream, nullptr));
            ++loaded;
        } catch (const Exception&) {
        } catch (const std::exception& error) {
            ADD_FAILURE() << "run " << run << ": not a framework exception: " << error.what();
        }
        ASSERT_EQ(FlashList(), nullptr) << "run " << run << " left items behind";
    }
    // A mutator that always breaks the form, or never does, tests only half of the reader.
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, Count);
}

} // namespace

TEST(FlashListMutations, BinaryForms)
{
    ReadMutations(TFormFormat::Binary, 4000, 20261208);
}

TEST(FlashListMutations, TextForms)
{
    ReadMutations(TFormFormat::Text, 1500, 4711);
}
