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
std::wstring WithNulls(const wchar_t (&Text)[N]) {
    return std::wstring(Text, N - 1);
}

} // namespace

TEST(DialogFilter, BarsBecomeNullsAndTheListEndsWithTwo) {
    EXPECT_EQ(DialogFilter(L"Movies|*.swf;*.flv|All|*.*"), WithNulls(L"Movies\0*.swf;*.flv\0All\0*.*\0\0"));
    EXPECT_EQ(DialogFilter(L"Movies|*.swf|Dangling"), WithNulls(L"Movies\0*.swf\0\0"));
    EXPECT_EQ(DialogFilter(L""), std::wstring(1, L'\0'));
}

TEST(SelectedFiles, OnePathOrAFolderWithNames) {
    const wchar_t One[] = L"C:\\movies\\a.swf\0\0";
    EXPECT_EQ(SelectedFiles(One, std::size(One)), (std::vector<std::wstring>{L"C:\\movies\\a.swf"}));
    const wchar_t Many[] = L"C:\\movies\0a.swf\0b.flv\0\0";
    EXPECT_EQ(SelectedFiles(Many, std::size(Many)),
              (std::vector<std::wstring>{L"C:\\movies\\a.swf", L"C:\\movies\\b.flv"}));
    const wchar_t Root[] = L"C:\\\0a.swf\0b.swf\0\0";
    EXPECT_EQ(SelectedFiles(Root, std::size(Root))[0], L"C:\\a.swf");
    const wchar_t Unended[] = {L'a', L'b', L'c'};
    EXPECT_EQ(SelectedFiles(Unended, 3), (std::vector<std::wstring>{L"abc"})) << "nothing is read past the size";
    EXPECT_TRUE(SelectedFiles(Unended, 0).empty());
}

namespace {

// What the timer does to the dialog once it is up: cancel it, or type a name and accept it.
std::wstring Answer;
bool Answered = false;

BOOL CALLBACK AnswerDialog(HWND Window, LPARAM) {
    wchar_t Class[16] = {};
    GetClassNameW(Window, Class, 16);
    if (std::wstring(Class) != L"#32770" || !IsWindowVisible(Window)) return TRUE;
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

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &AnswerDialog, 0);
}

bool ExecuteAnswering(TOpenDialog& Dialog, const std::wstring& Name) {
    Answer = Name;
    Answered = false;
    UINT_PTR Timer = SetTimer(nullptr, 0, 200, &AnswerTimer);
    bool Result = Dialog.Execute();
    KillTimer(nullptr, Timer);
    return Result;
}

std::wstring FullPath(const std::wstring& Name) {
    wchar_t Path[MAX_PATH] = {};
    GetFullPathNameW(Name.c_str(), MAX_PATH, Path, nullptr);
    return Path;
}

} // namespace

TEST(OpenDialog, CancellingReturnsFalseAndKeepsTheFileName) {
    TOpenDialog Dialog(nullptr);
    Dialog.SetFileName(L"before.swf");
    Dialog.SetFilter(L"Movies|*.swf|All|*.*");
    EXPECT_FALSE(ExecuteAnswering(Dialog, L""));
    EXPECT_TRUE(Answered);
    EXPECT_EQ(Dialog.FileName(), L"before.swf");
}

TEST(OpenDialog, AChosenFileComesBackAsAFullPath) {
    const std::wstring Name = L"dialog_choice.swf";
    {
        TFileStream File(Name, fmCreate);
        File.WriteBuffer("FWS", 3);
    }
    TOpenDialog Dialog(nullptr);
    Dialog.SetOptions({TOpenOption::ofFileMustExist, TOpenOption::ofHideReadOnly});
    Dialog.SetInitialDir(FullPath(L"."));
    ASSERT_TRUE(ExecuteAnswering(Dialog, Name));
    EXPECT_EQ(Dialog.FileName(), FullPath(Name));
    EXPECT_EQ(Dialog.Files(), (std::vector<std::wstring>{FullPath(Name)}));
    DeleteFileW(Name.c_str());
}

TEST(OpenDialog, SettingsAreStoredWithTheForm) {
    TComponent Root(nullptr);
    Root.SetName(L"Root");
    auto* Dialog = new TOpenDialog(&Root);
    Dialog->SetName(L"OpenDialog1");
    Dialog->SetFilter(L"Movies|*.swf");
    Dialog->SetFilterIndex(2);
    Dialog->SetTitle(L"Open a movie");
    Dialog->SetOptions({TOpenOption::ofAllowMultiSelect});
    TMemoryStream Stream;
    WriteComponentToStream(Stream, Root);
    RegisterClasses({&TOpenDialog::ClassInfo()});
    Stream.SetPosition(0);
    TComponent Read(nullptr);
    ReadComponentFromStream(Stream, &Read);
    auto* Copy = dynamic_cast<TOpenDialog*>(Read.FindComponent(L"OpenDialog1"));
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(Copy->Filter(), L"Movies|*.swf");
    EXPECT_EQ(Copy->FilterIndex(), 2);
    EXPECT_EQ(Copy->Title(), L"Open a movie");
    EXPECT_EQ(Copy->Options(), TOpenOptions{TOpenOption::ofAllowMultiSelect});
}
