// Answers the modal dialogs that the calling thread shows (the system's open dialog, message
// boxes) from a thread of its own, as a user would, while the tested code waits inside them.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zn::test {

struct TDialogReply {
    enum TAction { Choose, Cancel, Ok };
    TAction Action;
    std::wstring FileName; // typed into the open dialog for Choose
};

inline TDialogReply ChooseFile(std::wstring Path)
{
    return {TDialogReply::Choose, std::move(Path)};
}
inline TDialogReply CancelDialog()
{
    return {TDialogReply::Cancel, {}};
}
inline TDialogReply PressOk()
{
    return {TDialogReply::Ok, {}};
}

// What a dialog showed when it was answered.
struct TSeenDialog {
    std::wstring Caption;
    std::wstring Text;                   // a message box's message
    std::vector<std::wstring> FileTypes; // the open dialog's list of file types
};

// One reply per dialog, in order. A dialog shown after the replies have run out is cancelled
// and recorded all the same, so that a test that goes wrong fails instead of hanging.
class TDialogAnswerer {
public:
    explicit TDialogAnswerer(std::vector<TDialogReply> Replies);
    ~TDialogAnswerer();
    TDialogAnswerer(const TDialogAnswerer&) = delete;
    TDialogAnswerer& operator=(const TDialogAnswerer&) = delete;

    // The dialogs answered so far, in order.
    std::vector<TSeenDialog> Seen() const;

private:
    void Watch();
    void Answer(HWND Dialog);

    const DWORD FThread;
    const std::vector<TDialogReply> FReplies;
    mutable std::mutex FLock;
    std::vector<TSeenDialog> FSeen;
    std::atomic<bool> FStop{false};
    std::thread FWatcher;
};

} // namespace zn::test
