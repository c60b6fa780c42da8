// The scripted answer to the open dialog.
#include "dialog_answer.h"

namespace zn::zindesign {

namespace {

// The explorer dialog's file name field, as a combo box and as a plain edit.
constexpr int FileNameCombo = 0x47C, FileNameEdit = 0x480;

std::wstring Answer;
bool AnswerGiven = false;

BOOL CALLBACK AnswerDialog(HWND Window, LPARAM)
{
    wchar_t class_name[16] = {};
    GetClassNameW(Window, class_name, 16);
    if (std::wstring(class_name) != L"#32770" || !IsWindowVisible(Window))
        return TRUE;
    if (AnswerGiven || Answer.empty()) {
        PostMessageW(Window, WM_COMMAND, IDCANCEL, 0);
    } else {
        SetDlgItemTextW(Window, FileNameEdit, Answer.c_str());
        SetDlgItemTextW(Window, FileNameCombo, Answer.c_str());
        PostMessageW(Window, WM_COMMAND, IDOK, 0);
    }
    AnswerGiven = true;
    return FALSE;
}

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), &AnswerDialog, 0);
}

} // namespace

TDialogAnswer::TDialogAnswer(std::wstring FileName)
{
    Answer = std::move(FileName);
    AnswerGiven = false;
    FTimer = SetTimer(nullptr, 0, 200, &AnswerTimer);
}

TDialogAnswer::~TDialogAnswer()
{
    KillTimer(nullptr, FTimer);
}

bool TDialogAnswer::Answered() const
{
    return AnswerGiven;
}

} // namespace zn::zindesign
