// The open dialog: its filter and selection formats, and the real dialog, answered from another
// thread.
#include "support/dialog_answerer.h"

#include "zintara/framework/class_registry.h"
#include "zintara/framework/dialogs.h"
#include "zintara/framework/file_stream.h"
#include "zintara/framework/form_io.h"
#include "zintara/framework/streams.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

using namespace zn;
using namespace zn::test;

namespace {

// A literal with nulls inside, all of it but the terminator the compiler adds.
template <std::size_t N>
std::wstring WithNulls(const wchar_t (&Text)[N])
{
    return std::wstring(Text, N - 1);
}

} // namespace

TEST(DialogFilter, BarsBecomeNullsAndTheListEndsWithTwo)
{
    EXPECT_EQ(DialogFilter(L"Movies|*.swf;*.flv|All|*.*"),
              WithNulls(L"Movies\0*.swf;*.flv\0All\0*.*\0\0"));
    EXPECT_EQ(DialogFilter(L"Movies|*.swf|Dangling"), WithNulls(L"Movies\0*.swf\0\0"));
    EXPECT_EQ(DialogFilter(L""), std::wstring(1, L'\0'));
}

TEST(SelectedFiles, OnePathOrAFolderWithNames)
{
    const wchar_t one[] = L"C:\\movies\\a.swf\0\0";
    EXPECT_EQ(SelectedFiles(one, std::size(one)),
              (std::vector<std::wstring>{L"C:\\movies\\a.swf"}));
    const wchar_t many[] = L"C:\\movies\0a.swf\0b.flv\0\0";
    EXPECT_EQ(SelectedFiles(many, std::size(many)),
              (std::vector<std::wstring>{L"C:\\movies\\a.swf", L"C:\\movies\\b.flv"}));
    const wchar_t root[] = L"C:\\\0a.swf\0b.swf\0\0";
    EXPECT_EQ(SelectedFiles(root, std::size(root))[0], L"C:\\a.swf");
    const wchar_t unended[] = {L'a', L'b', L'c'};
    EXPECT_EQ(SelectedFiles(unended, 3), (std::vector<std::wstring>{L"abc"}))
        << "nothing is read past the size";
    EXPECT_TRUE(SelectedFiles(unended, 0).empty());
}

namespace {

bool ExecuteAnswering(TOpenDialog& Dialog, TDialogReply Reply, std::size_t& Answered)
{
    TDialogAnswerer answerer({std::move(Reply)});
    const bool result = Dialog.Execute();
    Answered = answerer.Seen().size();
    return result;
}

std::wstring FullPath(const std::wstring& Name)
{
    wchar_t path[MAX_PATH] = {};
    GetFullPathNameW(Name.c_str(), MAX_PATH, path, nullptr);
    return path;
}

} // namespace

TEST(OpenDialog, CancellingReturnsFalseAndKeepsTheFileName)
{
    TOpenDialog dialog(nullptr);
    dialog.SetFileName(L"before.swf");
    dialog.SetFilter(L"Movies|*.swf|All|*.*");
    std::size_t answered = 0;
    EXPECT_FALSE(ExecuteAnswering(dialog, CancelDialog(), answered));
    EXPECT_EQ(answered, 1u);
    EXPECT_EQ(dialog.FileName(), L"before.swf");
}

TEST(OpenDialog, AChosenFileComesBackAsAFullPath)
{
    const std::wstring name = L"dialog_choice.swf";
    {
        TFileStream file(name, fmCreate);
        file.WriteBuffer("FWS", 3);
    }
    TOpenDialog dialog(nullptr);
    dialog.SetOptions({TOpenOption::ofFileMustExist, TOpenOption::ofHideReadOnly});
    dialog.SetInitialDir(FullPath(L"."));
    std::size_t answered = 0;
    ASSERT_TRUE(ExecuteAnswering(dialog, ChooseFile(name), answered));
    EXPECT_EQ(answered, 1u);
    EXPECT_EQ(dialog.FileName(), FullPath(name));
    EXPECT_EQ(dialog.Files(), (std::vector<std::wstring>{FullPath(name)}));
    DeleteFileW(name.c_str());
}

TEST(OpenDialog, SettingsAreStoredWithTheForm)
{
    TComponent root(nullptr);
    root.SetName(L"Root");
    auto* dialog = new TOpenDialog(&root);
    dialog->SetName(L"OpenDialog1");
    dialog->SetFilter(L"Movies|*.swf");
    dialog->SetFilterIndex(2);
    dialog->SetTitle(L"Open a movie");
    dialog->SetOptions({TOpenOption::ofAllowMultiSelect});
    TMemoryStream stream;
    WriteComponentToStream(stream, root);
    RegisterClasses({&TOpenDialog::ClassInfo()});
    stream.SetPosition(0);
    TComponent read(nullptr);
    ReadComponentFromStream(stream, &read);
    auto* copy = dynamic_cast<TOpenDialog*>(read.FindComponent(L"OpenDialog1"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Filter(), L"Movies|*.swf");
    EXPECT_EQ(copy->FilterIndex(), 2);
    EXPECT_EQ(copy->Title(), L"Open a movie");
    EXPECT_EQ(copy->Options(), TOpenOptions{TOpenOption::ofAllowMultiSelect});
}
