// The open dialog: its filter and selection formats, and the real dialog, answered by a timer
// that finds it among this thread's windows.
#include "zintara/framework/class_registry.h"
#include "zintara/framework/dialogs.h"
#include "zintara/framework/file_stream.h"
#include "zintara/framework/form_io.h"
#include "zintara/framework/streams.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

using namespace zn;

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

// What the timer does to the dialog once it is up: cancel it, or type a name and accept it.
std::wstring Answer;
bool Answered = false;

BOOL CALLBACK AnswerDialog(HWND Window, LPARAM)
{
    wchar_t class_name[16] = {};
    GetClassNameW(Window, class_name, 16);
    if (std::wstring(class_name) != L"#32770" || !IsWindowVisible(Window))
        return TRUE;
    // Anything still up after the answer (a message box about the name, a dialog that missed
    // the answer) is cancelled, so a failure ends the test instead of hanging it.
    if (Answered) {
        PostMessageW(Window, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    if (Answer.empty()) {
        PostMessageW(Window, WM_COMMAND, IDCANCEL, 0);
    } else {
        SetDlgItemTextW(Window, 0x480, Answer.c_str());
        SetDlgItemTextW(Window, 0x47C, Answer.c_str());
        PostMessageW(Window, WM_COMMAND, IDOK, 0);
    }
    Answered = true;
    return FALSE;
}

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), &AnswerDialog, 0);
}

bool ExecuteAnswering(TOpenDialog& Dialog, const std::wstring& Name)
{
    Answer = Name;
    Answered = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 200, &AnswerTimer);
    bool result = Dialog.Execute();
    KillTimer(nullptr, timer);
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
    EXPECT_FALSE(ExecuteAnswering(dialog, L""));
    EXPECT_TRUE(Answered);
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
    ASSERT_TRUE(ExecuteAnswering(dialog, name));
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
