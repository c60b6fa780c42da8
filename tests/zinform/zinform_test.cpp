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

namespace {

class ZinformTool : public testing::Test {
protected:
    void SetUp() override { RegisterFlashListClasses(); }

    TToolRun Run(const std::vector<std::wstring>& Arguments) { return RunZinform(Arguments, Folder.Path()); }

    void WriteFile(const std::wstring& Name, const std::string& Bytes) {
        std::ofstream File(std::filesystem::path(Folder / Name), std::ios::binary);
        File << Bytes;
    }
    std::string FileBytes(const std::wstring& Name) {
        std::ifstream File(std::filesystem::path(Folder / Name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>());
    }
    bool Exists(const std::wstring& Name) { return std::filesystem::exists(std::filesystem::path(Folder / Name)); }

    std::unique_ptr<TComponent> ReadForm(const std::wstring& Name) {
        return std::unique_ptr<TComponent>(ReadComponentFromFile(Folder / Name, nullptr));
    }
    static std::string ItemBytes(TComponent& Root, const std::wstring& List, const std::wstring& Item) {
        auto* Files = dynamic_cast<TznFlashList*>(Root.FindComponent(List));
        if (!Files || !Files->FindFlash(Item)) return "<missing>";
        TMemoryStream& Flash = Files->FindFlash(Item)->Flash();
        return std::string(static_cast<const char*>(Flash.Memory()), static_cast<std::size_t>(Flash.Size()));
    }

    // Two files to embed: a movie-like one with every kind of byte, and a small XML file.
    void WriteSamples() {
        WriteFile(L"a.swf", std::string("FWS\0\x01\xff\r\n\x1a", 10));
        std::filesystem::create_directory(std::filesystem::path(Folder / L"sub"));
        WriteFile(L"sub\\b.xml", "<x/>\n");
    }

    TScratchFolder Folder;
};

bool StartsWith(const std::string& Text, const std::string& Prefix) { return Text.rfind(Prefix, 0) == 0; }

} // namespace

TEST_F(ZinformTool, CommandLinesThatSayNothingGetTheUsage) {
    TToolRun Help = Run({L"--help"});
    EXPECT_EQ(Help.ExitCode, 0u);
    EXPECT_TRUE(StartsWith(Help.Out, "usage: zinform")) << Help.Out;

    for (const auto& Arguments : std::vector<std::vector<std::wstring>>{
             {}, {L"frobnicate"}, {L"list"}, {L"add", L"form.dfm", L"Files"}, {L"list", L"a", L"b"}, {L"--bogus"}}) {
        TToolRun Wrong = Run(Arguments);
        EXPECT_EQ(Wrong.ExitCode, 2u) << Wrong.Err;
        EXPECT_TRUE(StartsWith(Wrong.Err, "zinform: ")) << Wrong.Err;
        EXPECT_NE(Wrong.Err.find("usage: zinform"), std::string::npos);
        EXPECT_EQ(Wrong.Out, "");
    }
}

TEST_F(ZinformTool, AddCreatesABinaryFormThatTheLibraryReads) {
    WriteSamples();
    TToolRun Added = Run({L"add", L"movies.dfm", L"Files", L"a.swf", L"sub\\b.xml"});
    ASSERT_EQ(Added.ExitCode, 0u) << Added.Err;
    EXPECT_EQ(Added.Out, "Files: added a.swf, 10 bytes\r\nFiles: added b.xml, 5 bytes\r\n");
    EXPECT_TRUE(StartsWith(FileBytes(L"movies.dfm"), "TPF0"));

    std::unique_ptr<TComponent> Root = ReadForm(L"movies.dfm");
    EXPECT_TRUE(Root->InheritsFrom(TDataModule::ClassInfo()));
    EXPECT_EQ(Root->Name(), L"movies");
    EXPECT_EQ(ItemBytes(*Root, L"Files", L"a.swf"), FileBytes(L"a.swf"));
    EXPECT_EQ(ItemBytes(*Root, L"Files", L"b.xml"), "<x/>\n");
}

TEST_F(ZinformTool, FormatFollowsTheNameOrTheOptionAndAnExistingFormKeepsItsOwn) {
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

TEST_F(ZinformTool, AddingToAnExistingFormKeepsWhatItHoldsAndReplacesByName) {
    WriteSamples();
    ASSERT_EQ(Run({L"add", L"movies.dfm", L"Files", L"a.swf"}).ExitCode, 0u);
    ASSERT_EQ(Run({L"add", L"movies.dfm", L"Extras", L"sub\\b.xml"}).ExitCode, 0u);
    std::filesystem::create_directory(std::filesystem::path(Folder / L"v2"));
    WriteFile(L"v2\\A.SWF", "version 2");
    TToolRun Replaced = Run({L"add", L"movies.dfm", L"Files", L"v2\\A.SWF"});
    ASSERT_EQ(Replaced.ExitCode, 0u) << Replaced.Err;
    EXPECT_EQ(Replaced.Out, "Files: replaced A.SWF, 9 bytes\r\n");

    TToolRun Listed = Run({L"list", L"movies.dfm"});
    EXPECT_EQ(Listed.Out, "Files\tA.SWF\t9\r\nExtras\tb.xml\t5\r\n");
}

TEST_F(ZinformTool, ListShowsEveryItemOfEveryList) {
    WriteSamples();
    WriteFile(L"\u00e9t\u00e9.flv", "FLV");
    ASSERT_EQ(Run({L"add", L"m.dfm", L"Files", L"a.swf", L"\u00e9t\u00e9.flv"}).ExitCode, 0u);
    ASSERT_EQ(Run({L"add", L"m.dfm", L"More", L"sub\\b.xml"}).ExitCode, 0u);
    TToolRun Listed = Run({L"list", L"m.dfm"});
    EXPECT_EQ(Listed.ExitCode, 0u) << Listed.Err;
    EXPECT_EQ(Listed.Out, "Files\ta.swf\t10\r\nFiles\t\xc3\xa9t\xc3\xa9.flv\t3\r\nMore\tb.xml\t5\r\n");
    EXPECT_EQ(Listed.Err, "");
}

TEST_F(ZinformTool, ExtractWritesTheItemsBytes) {
    WriteSamples();
    ASSERT_EQ(Run({L"add", L"movies.txt", L"Files", L"a.swf"}).ExitCode, 0u);
    TToolRun Extracted = Run({L"extract", L"movies.txt", L"A.swf", L"copy.swf"});
    ASSERT_EQ(Extracted.ExitCode, 0u) << Extracted.Err;
    EXPECT_EQ(FileBytes(L"copy.swf"), FileBytes(L"a.swf"));

    TToolRun Unknown = Run({L"extract", L"movies.txt", L"missing.swf", L"none.swf"});
    EXPECT_EQ(Unknown.ExitCode, 1u);
    EXPECT_NE(Unknown.Err.find("no embedded file named missing.swf"), std::string::npos) << Unknown.Err;
    EXPECT_FALSE(Exists(L"none.swf"));
}

TEST_F(ZinformTool, ConvertGoesBothWaysWithoutLosingAByte) {
    WriteSamples();
    ASSERT_EQ(Run({L"add", L"movies.dfm", L"Files", L"a.swf", L"sub\\b.xml"}).ExitCode, 0u);
    TToolRun ToText = Run({L"convert", L"movies.dfm", L"movies.txt"});
    ASSERT_EQ(ToText.ExitCode, 0u) << ToText.Err;
    EXPECT_TRUE(StartsWith(FileBytes(L"movies.txt"), "object movies: TDataModule"));
    EXPECT_NE(FileBytes(L"movies.txt").find("FlashStore = 'b.xml'"), std::string::npos);

    ASSERT_EQ(Run({L"convert", L"movies.txt", L"back.dfm"}).ExitCode, 0u);
    EXPECT_EQ(FileBytes(L"back.dfm"), FileBytes(L"movies.dfm"));
    ASSERT_EQ(Run({L"convert", L"--binary", L"movies.dfm", L"same.dfm"}).ExitCode, 0u);
    EXPECT_EQ(FileBytes(L"same.dfm"), FileBytes(L"movies.dfm"));
    ASSERT_EQ(Run({L"convert", L"--text", L"movies.txt", L"same.txt"}).ExitCode, 0u);
    EXPECT_EQ(FileBytes(L"same.txt"), FileBytes(L"movies.txt"));
}

TEST_F(ZinformTool, MissingFilesAreNamedAndNothingIsWritten) {
    WriteSamples();
    for (const auto& Arguments : std::vector<std::vector<std::wstring>>{
             {L"list", L"absent.dfm"}, {L"extract", L"absent.dfm", L"a.swf", L"out.swf"},
             {L"convert", L"absent.dfm", L"out.txt"}}) {
        TToolRun Failed = Run(Arguments);
        EXPECT_EQ(Failed.ExitCode, 1u);
        EXPECT_NE(Failed.Err.find("absent.dfm"), std::string::npos) << Failed.Err;
    }
    TToolRun NoFile = Run({L"add", L"new.dfm", L"Files", L"a.swf", L"absent.swf"});
    EXPECT_EQ(NoFile.ExitCode, 1u);
    EXPECT_NE(NoFile.Err.find("absent.swf"), std::string::npos) << NoFile.Err;
    EXPECT_EQ(NoFile.Out, "");
    EXPECT_FALSE(Exists(L"new.dfm"));

    ASSERT_EQ(Run({L"add", L"kept.dfm", L"Files", L"a.swf"}).ExitCode, 0u);
    std::string Before = FileBytes(L"kept.dfm");
    WriteFile(L"empty.swf", "");
    for (std::wstring Bad : {L"absent.swf", L"empty.swf"}) {
        EXPECT_EQ(Run({L"add", L"kept.dfm", L"Files", L"sub\\b.xml", Bad}).ExitCode, 1u);
        EXPECT_EQ(FileBytes(L"kept.dfm"), Before);
    }
}

TEST_F(ZinformTool, MalformedFormsAreRefusedWithTheReason) {
    WriteSamples();
    ASSERT_EQ(Run({L"add", L"good.dfm", L"Files", L"a.swf"}).ExitCode, 0u);
    std::string Good = FileBytes(L"good.dfm");
    WriteFile(L"cut.dfm", Good.substr(0, Good.size() - 12));
    WriteFile(L"words.txt", "this is not a form\r\n");
    std::string Lying = Good;
    std::size_t Block = Lying.find(std::string("\x04\x05\0\0\0", 5));
    ASSERT_NE(Block, std::string::npos);
    Lying[Block + 1] = '\x7f';
    WriteFile(L"lying.dfm", Lying);

    for (std::wstring Form : {L"cut.dfm", L"words.txt", L"lying.dfm"}) {
        for (const auto& Arguments : std::vector<std::vector<std::wstring>>{
                 {L"list", Form}, {L"add", Form, L"Files", L"sub\\b.xml"}, {L"convert", Form, L"out.txt"}}) {
            // Conversion copies binary properties without looking inside them.
            if (Form == L"lying.dfm" && Arguments[0] == L"convert") continue;
            TToolRun Failed = Run(Arguments);
            EXPECT_EQ(Failed.ExitCode, 1u) << Failed.Out;
            EXPECT_NE(Failed.Err.find("is not a readable form"), std::string::npos) << Failed.Err;
        }
    }
    EXPECT_FALSE(Exists(L"out.txt"));
    EXPECT_EQ(FileBytes(L"lying.dfm"), Lying);
}

TEST_F(ZinformTool, TheListMustBeAListWithAValidName) {
    WriteSamples();
    TDataModule Root(nullptr);
    Root.SetName(L"Data");
    (new TDataModule(&Root))->SetName(L"Other");
    WriteComponentToFile(Folder / L"data.dfm", Root);

    TToolRun NotAList = Run({L"add", L"data.dfm", L"Other", L"a.swf"});
    EXPECT_EQ(NotAList.ExitCode, 1u);
    EXPECT_NE(NotAList.Err.find("Other is a TDataModule, not a TznFlashList"), std::string::npos) << NotAList.Err;
    TToolRun BadName = Run({L"add", L"data.dfm", L"my files", L"a.swf"});
    EXPECT_EQ(BadName.ExitCode, 1u);
    EXPECT_NE(BadName.Err.find("not a valid component name"), std::string::npos) << BadName.Err;
    const std::string Before = FileBytes(L"data.dfm");
    TToolRun RootsName = Run({L"add", L"data.dfm", L"data", L"a.swf"});
    EXPECT_EQ(RootsName.ExitCode, 1u);
    EXPECT_NE(RootsName.Err.find("data is the form's TDataModule, not a TznFlashList"), std::string::npos)
        << RootsName.Err;
    EXPECT_EQ(FileBytes(L"data.dfm"), Before);
    EXPECT_EQ(Run({L"add", L"fresh.dfm", L"fresh", L"a.swf"}).ExitCode, 1u);
    EXPECT_FALSE(Exists(L"fresh.dfm"));
}

TEST_F(ZinformTool, TextAndBinaryTogetherAreRefused) {
    WriteSamples();
    ASSERT_EQ(Run({L"add", L"movies.dfm", L"Files", L"a.swf"}).ExitCode, 0u);
    for (const auto& Arguments : std::vector<std::vector<std::wstring>>{
             {L"convert", L"--text", L"--binary", L"movies.dfm", L"out.dfm"},
             {L"convert", L"--binary", L"movies.dfm", L"out.dfm", L"--text"},
             {L"add", L"--text", L"movies.dfm", L"Files", L"--binary", L"a.swf"}}) {
        TToolRun Both = Run(Arguments);
        EXPECT_EQ(Both.ExitCode, 2u);
        EXPECT_TRUE(StartsWith(Both.Err, "zinform: --text and --binary cannot be given together")) << Both.Err;
        EXPECT_FALSE(Exists(L"out.dfm"));
    }
    EXPECT_EQ(Run({L"convert", L"--text", L"--text", L"movies.dfm", L"out.txt"}).ExitCode, 0u);
}
