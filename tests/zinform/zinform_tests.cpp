// zinform as users run it: the real tool on real files in a scratch folder, its output, its
// exit status, and what the library reads from the forms it writes.
#include "tool_process.h"

#include "zintara/core/flash_list.h"
#include "zintara/framework/data_module.h"
#include "zintara/framework/form_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

using namespace zn;
using namespace zn::test;

namespace {

class ZinformTool : public testing::Test {
protected:
    void SetUp() override { RegisterFlashListClasses(); }

    TToolRun Run(const std::vector<std::wstring>& Arguments)
    {
        return RunZinform(Arguments, Folder.Path());
    }

    void WriteFile(const std::wstring& Name, const std::string& Bytes)
    {
        std::ofstream file(std::filesystem::path(Folder / Name), std::ios::binary);
        file << Bytes;
    }
    std::string FileBytes(const std::wstring& Name)
    {
        std::ifstream file(std::filesystem::path(Folder / Name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    bool Exists(const std::wstring& Name)
    {
        return std::filesystem::exists(std::filesystem::path(Folder / Name));
    }

    std::unique_ptr<TComponent> ReadForm(const std::wstring& Name)
    {
        return std::unique_ptr<TComponent>(ReadComponentFromFile(Folder / Name, nullptr));
    }
    static std::string ItemBytes(TComponent& Root, const std::wstring& List,
                                 const std::wstring& Item)
    {
        auto* files = dynamic_cast<TznFlashList*>(Root.FindComponent(List));
        if (!files || !files->FindFlash(Item))
            return "<missing>";
        TMemoryStream& flash = files->FindFlash(Item)->Flash();
        return std::string(static_cast<const char*>(flash.Memory()),
                           static_cast<std::size_t>(flash.Size()));
    }

    // Two files to embed: a movie-like one with every kind of byte, and a small XML file.
    void WriteSamples()
    {
        WriteFile(L"a.swf", std::string("FWS\0\x01\xff\r\n\x1a", 10));
        std::filesystem::create_directory(std::filesystem::path(Folder / L"sub"));
        WriteFile(L"sub\\b.xml", "<x/>\n");
    }

    TScratchFolder Folder;
};

bool StartsWith(const std::string& Text, const std::string& Prefix)
{
    return Text.rfind(Prefix, 0) == 0;
}

} // namespace

TEST_F(ZinformTool, CommandLinesThatSayNothingGetTheUsage)
{
    TToolRun help = Run({L"--help"});
    EXPECT_EQ(help.ExitCode, 0u);
    EXPECT_TRUE(StartsWith(help.Out, "usage: zinform")) << help.Out;

    for (const auto& arguments :
         std::vector<std::vector<std::wstring>>{{},
                                                {L"frobnicate"},
                                                {L"list"},
                                                {L"add", L"form.dfm", L"Files"},
                                                {L"list", L"a", L"b"},
                                                {L"--bogus"}}) {
        TToolRun wrong = Run(arguments);
        EXPECT_EQ(wrong.ExitCode, 2u) << wrong.Err;
        EXPECT_TRUE(StartsWith(wrong.Err, "zinform: ")) << wrong.Err;
        EXPECT_NE(wrong.Err.find("usage: zinform"), std::string::npos);
        EXPECT_EQ(wrong.Out, "");
    }
}

TEST_F(ZinformTool, AddCreatesABinaryFormThatTheLibraryReads)
{
    WriteSamples();
    TToolRun added = Run({L"add", L"movies.dfm", L"Files", L"a.swf", L"sub\\b.xml"});
    ASSERT_EQ(added.ExitCode, 0u) << added.Err;
    EXPECT_EQ(added.Out, "Files: added a.swf, 10 bytes\r\nFiles: added b.xml, 5 bytes\r\n");
    EXPECT_TRUE(StartsWith(FileBytes(L"movies.dfm"), "TPF0"));

    std::unique_ptr<TComponent> root = ReadForm(L"movies.dfm");
    EXPECT_TRUE(root->InheritsFrom(TDataModule::ClassInfo()));
    EXPECT_EQ(root->Name(), L"movies");
    EXPECT_EQ(ItemBytes(*root, L"Files", L"a.swf"), FileBytes(L"a.swf"));
    EXPECT_EQ(ItemBytes(*root, L"Files", L"b.xml"), "<x/>\n");
}

TEST_F(ZinformTool, FormatFollowsTheNameOrTheOptionAndAnExistingFormKeepsItsOwn)
{
    WriteSamples();
    ASSERT_EQ(Run({L"add", L"movies.txt", L"Files", L"a.swf"}).ExitCode, 0u);
    EXPECT_TRUE(StartsWith(FileBytes(L"movies.txt"), "object movies: TDataModule"));

    ASSERT_EQ(Run({L"add", L"--text", L"other.dfm", L"Files", L"a.swf"}).ExitCode, 0u);
    EXPECT_TRUE(StartsWith(FileBytes(L"other.dfm"), "object other: TDataModule"));
    ASSERT_EQ(Run({L"add", L"other.dfm", L"Files", L"sub\\b.xml"}).ExitCode, 0u);
    EXPECT_TRUE(StartsWith(FileBytes(L"other.dfm"), "object other: TDataModule"));

    ASSERT_EQ(Run({L"add", L"other.dfm", L"--binary", L"Files", L"a.swf"}).ExitCode, 0u);
    EXPECT_TRUE(StartsWith(FileBytes(L"other.dfm"), "TPF0"));
    EXPECT_EQ(ItemBytes(*ReadForm(L"other.dfm"), L"Files", L"b.xml"), "<x/>\n");
}

TEST_F(ZinformTool, AddingToAnExistingFormKeepsWhatItHoldsAndReplacesByName)
{
    WriteSamples();
    ASSERT_EQ(Run({L"add", L"movies.dfm", L"Files", L"a.swf"}).ExitCode, 0u);
    ASSERT_EQ(Run({L"add", L"movies.dfm", L"Extras", L"sub\\b.xml"}).ExitCode, 0u);
    std::filesystem::create_directory(std::filesystem::path(Folder / L"v2"));
    WriteFile(L"v2\\A.SWF", "version 2");
    TToolRun replaced = Run({L"add", L"movies.dfm", L"Files", L"v2\\A.SWF"});
    ASSERT_EQ(replaced.ExitCode, 0u) << replaced.Err;
    EXPECT_EQ(replaced.Out, "Files: replaced A.SWF, 9 bytes\r\n");

    TToolRun listed = Run({L"list", L"movies.dfm"});
    EXPECT_EQ(listed.Out, "Files\tA.SWF\t9\r\nExtras\tb.xml\t5\r\n");
}

TEST_F(ZinformTool, ListShowsEveryItemOfEveryList)
{
    WriteSamples();
    WriteFile(L"\u00e9t\u00e9.flv", "FLV");
    ASSERT_EQ(Run({L"add", L"m.dfm", L"Files", L"a.swf", L"\u00e9t\u00e9.flv"}).ExitCode, 0u);
    ASSERT_EQ(Run({L"add", L"m.dfm", L"More", L"sub\\b.xml"}).ExitCode, 0u);
    TToolRun listed = Run({L"list", L"m.dfm"});
    EXPECT_EQ(listed.ExitCode, 0u) << listed.Err;
    EXPECT_EQ(listed.Out,
              "Files\ta.swf\t10\r\nFiles\t\xc3\xa9t\xc3\xa9.flv\t3\r\nMore\tb.xml\t5\r\n");
    EXPECT_EQ(listed.Err, "");
}

TEST_F(ZinformTool, ExtractWritesTheItemsBytes)
{
    WriteSamples();
    ASSERT_EQ(Run({L"add", L"movies.txt", L"Files", L"a.swf"}).ExitCode, 0u);
    TToolRun extracted = Run({L"extract", L"movies.txt", L"A.swf", L"copy.swf"});
    ASSERT_EQ(extracted.ExitCode, 0u) << extracted.Err;
    EXPECT_EQ(FileBytes(L"copy.swf"), FileBytes(L"a.swf"));

    TToolRun unknown = Run({L"extract", L"movies.txt", L"missing.swf", L"none.swf"});
    EXPECT_EQ(unknown.ExitCode, 1u);
    EXPECT_NE(unknown.Err.find("no embedded file named missing.swf"), std::string::npos)
        << unknown.Err;
    EXPECT_FALSE(Exists(L"none.swf"));
}

TEST_F(ZinformTool, ConvertGoesBothWaysWithoutLosingAByte)
{
    WriteSamples();
    ASSERT_EQ(Run({L"add", L"movies.dfm", L"Files", L"a.swf", L"sub\\b.xml"}).ExitCode, 0u);
    TToolRun to_text = Run({L"convert", L"movies.dfm", L"movies.txt"});
    ASSERT_EQ(to_text.ExitCode, 0u) << to_text.Err;
    EXPECT_TRUE(StartsWith(FileBytes(L"movies.txt"), "object movies: TDataModule"));
    EXPECT_NE(FileBytes(L"movies.txt").find("FlashStore = 'b.xml'"), std::string::npos);

    ASSERT_EQ(Run({L"convert", L"movies.txt", L"back.dfm"}).ExitCode, 0u);
    EXPECT_EQ(FileBytes(L"back.dfm"), FileBytes(L"movies.dfm"));
    ASSERT_EQ(Run({L"convert", L"--binary", L"movies.dfm", L"same.dfm"}).ExitCode, 0u);
    EXPECT_EQ(FileBytes(L"same.dfm"), FileBytes(L"movies.dfm"));
    ASSERT_EQ(Run({L"convert", L"--text", L"movies.txt", L"same.txt"}).ExitCode, 0u);
    EXPECT_EQ(FileBytes(L"same.txt"), FileBytes(L"movies.txt"));
}

TEST_F(ZinformTool, MissingFilesAreNamedAndNothingIsWritten)
{
    WriteSamples();
    for (const auto& arguments :
         std::vector<std::vector<std::wstring>>{{L"list", L"absent.dfm"},
                                                {L"extract", L"absent.dfm", L"a.swf", L"out.swf"},
                                                {L"convert", L"absent.dfm", L"out.txt"}}) {
        TToolRun failed = Run(arguments);
        EXPECT_EQ(failed.ExitCode, 1u);
        EXPECT_NE(failed.Err.find("absent.dfm"), std::string::npos) << failed.Err;
    }
    TToolRun no_file = Run({L"add", L"new.dfm", L"Files", L"a.swf", L"absent.swf"});
    EXPECT_EQ(no_file.ExitCode, 1u);
    EXPECT_NE(no_file.Err.find("absent.swf"), std::string::npos) << no_file.Err;
    EXPECT_EQ(no_file.Out, "");
    EXPECT_FALSE(Exists(L"new.dfm"));

    ASSERT_EQ(Run({L"add", L"kept.dfm", L"Files", L"a.swf"}).ExitCode, 0u);
    std::string before = FileBytes(L"kept.dfm");
    WriteFile(L"empty.swf", "");
    for (std::wstring bad : {L"absent.swf", L"empty.swf"}) {
        EXPECT_EQ(Run({L"add", L"kept.dfm", L"Files", L"sub\\b.xml", bad}).ExitCode, 1u);
        EXPECT_EQ(FileBytes(L"kept.dfm"), before);
    }
}

TEST_F(ZinformTool, MalformedFormsAreRefusedWithTheReason)
{
    WriteSamples();
    ASSERT_EQ(Run({L"add", L"good.dfm", L"Files", L"a.swf"}).ExitCode, 0u);
    std::string good = FileBytes(L"good.dfm");
    WriteFile(L"cut.dfm", good.substr(0, good.size() - 12));
    WriteFile(L"words.txt", "this is not a form\r\n");
    std::string lying = good;
    std::size_t block = lying.find(std::string("\x04\x05\0\0\0", 5));
    ASSERT_NE(block, std::string::npos);
    lying[block + 1] = '\x7f';
    WriteFile(L"lying.dfm", lying);

    for (std::wstring form : {L"cut.dfm", L"words.txt", L"lying.dfm"}) {
        for (const auto& arguments :
             std::vector<std::vector<std::wstring>>{{L"list", form},
                                                    {L"add", form, L"Files", L"sub\\b.xml"},
                                                    {L"convert", form, L"out.txt"}}) {
            // Conversion copies binary properties without looking inside them.
            if (form == L"lying.dfm" && arguments[0] == L"convert")
                continue;
            TToolRun failed = Run(arguments);
            EXPECT_EQ(failed.ExitCode, 1u) << failed.Out;
            EXPECT_NE(failed.Err.find("is not a readable form"), std::string::npos) << failed.Err;
        }
    }
    EXPECT_FALSE(Exists(L"out.txt"));
    EXPECT_EQ(FileBytes(L"lying.dfm"), lying);
}

TEST_F(ZinformTool, TheListMustBeAListWithAValidName)
{
    WriteSamples();
    TDataModule root(nullptr);
    root.SetName(L"Data");
    (new TDataModule(&root))->SetName(L"Other");
    WriteComponentToFile(Folder / L"data.dfm", root);

    TToolRun not_a_list = Run({L"add", L"data.dfm", L"Other", L"a.swf"});
    EXPECT_EQ(not_a_list.ExitCode, 1u);
    EXPECT_NE(not_a_list.Err.find("Other is a TDataModule, not a TznFlashList"), std::string::npos)
        << not_a_list.Err;
    TToolRun bad_name = Run({L"add", L"data.dfm", L"my files", L"a.swf"});
    EXPECT_EQ(bad_name.ExitCode, 1u);
    EXPECT_NE(bad_name.Err.find("not a valid component name"), std::string::npos) << bad_name.Err;
    const std::string before = FileBytes(L"data.dfm");
    TToolRun roots_name = Run({L"add", L"data.dfm", L"data", L"a.swf"});
    EXPECT_EQ(roots_name.ExitCode, 1u);
    EXPECT_NE(roots_name.Err.find("data is the form's TDataModule, not a TznFlashList"),
              std::string::npos)
        << roots_name.Err;
    EXPECT_EQ(FileBytes(L"data.dfm"), before);
    EXPECT_EQ(Run({L"add", L"fresh.dfm", L"fresh", L"a.swf"}).ExitCode, 1u);
    EXPECT_FALSE(Exists(L"fresh.dfm"));
}

TEST_F(ZinformTool, TextAndBinaryTogetherAreRefused)
{
    WriteSamples();
    ASSERT_EQ(Run({L"add", L"movies.dfm", L"Files", L"a.swf"}).ExitCode, 0u);
    for (const auto& arguments : std::vector<std::vector<std::wstring>>{
             {L"convert", L"--text", L"--binary", L"movies.dfm", L"out.dfm"},
             {L"convert", L"--binary", L"movies.dfm", L"out.dfm", L"--text"},
             {L"add", L"--text", L"movies.dfm", L"Files", L"--binary", L"a.swf"}}) {
        TToolRun both = Run(arguments);
        EXPECT_EQ(both.ExitCode, 2u);
        EXPECT_TRUE(StartsWith(both.Err, "zinform: --text and --binary cannot be given together"))
            << both.Err;
        EXPECT_FALSE(Exists(L"out.dfm"));
    }
    EXPECT_EQ(Run({L"convert", L"--text", L"--text", L"movies.dfm", L"out.txt"}).ExitCode, 0u);
}
