#include "dialog_answerer.h"

#include <chrono>

namespace zn::test {

namespace {

// The controls of the open dialog that take a typed name (the combo box's edit and the plain
// edit of older layouts), its list of file types, and a message box's text.
constexpr int FileNameCombo = 0x47C;
constexpr int FileNameEdit = 0x480;
constexpr int FileTypeCombo = 0x470;
constexpr int MessageText = 0xFFFF;

BOOL CALLBACK FindDialog(HWND Window, LPARAM Found)
{
    wchar_t class_name[16] = {};
    GetClassNameW(Window, class_name, 16);
    if (std::wstring(class_name) != L"#32770" || !IsWindowVisible(Window))
        return TRUE;
    *reinterpret_cast<HWND*>(Found) = Window;
    return FALSE;
}

std::wstring TextOf(HWND Window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(Window, text, 1024);
    return text;
}

void Pause()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
}

} // namespace

TDialogAnswerer::TDialogAnswerer(std::vector<TDialogReply> Replies)
    : FThread(GetCurrentThreadId()), FReplies(std::move(Replies)), FWatcher([this] { Watch(); })
{}

TDialogAnswerer::~TDialogAnswerer()
{
    FStop = true;
    FWatcher.join();
}

std::vector<TSeenDialog> TDialogAnswerer::Seen() const
{
    std::lock_guard guard(FLock);
    return FSeen;
}

void TDialogAnswerer::Watch()
{
    while (!FStop) {
        HWND dialog = nullptr;
        EnumThreadWindows(FThread, &FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog) {
            Pause();
            continue;
        }
        // The dialog may still be building its controls: give it a moment before reading them.
        Pause();
        Answer(dialog);
        // One answer per dialog: wait until it has gone before looking for the next.
        for (int i = 0; i < 300 && IsWindow(dialog) && IsWindowVisible(dialog) && !FStop; ++i)
            Pause();
    }
}

void TDialogAnswerer::Answer(HWND Dialog)
{
    TSeenDialog seen{TextOf(Dialog), {}, {}};
    if (HWND text = GetDlgItem(Dialog, MessageText))
        seen.Text = TextOf(text);
    if (HWND types = GetDlgItem(Dialog, FileTypeCombo)) {
        const auto count = SendMessageW(types, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t entry[256] = {};
            if (SendMessageW(types, CB_GETLBTEXTLEN, i, 0) < 256)
                SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
            seen.FileTypes.push_back(entry);
        }
    }
    std::size_t index;
    {
        std::lock_guard guard(FLock);
        index = FSeen.size();
        FSeen.push_back(seen);
    }
    const TDialogReply reply = index < FReplies.size() ? FReplies[index] : CancelDialog();
    switch (reply.Action) {
    case TDialogReply::Choose:
        SetDlgItemTextW(Dialog, FileNameCombo, reply.FileName.c_str());
        SetDlgItemTextW(Dialog, FileNameEdit, reply.FileName.c_str());
        PostMessageW(Dialog, WM_COMMAND, IDOK, 0);
        break;
    case TDialogReply::Cancel: PostMessageW(Dialog, WM_COMMAND, IDCANCEL, 0); break;
    case TDialogReply::Ok: PostMessageW(Dialog, WM_COMMAND, IDOK, 0); break;
    }
}

} // namespace zn::test
