// Answers the open dialog without a user, for scripted sessions: while an answer is armed, a
// timer finds the dialog among the thread's windows, types the file name and accepts it (an
// empty name cancels it). Whatever is still up after that is cancelled, so a dialog that missed
// the answer ends the session instead of hanging it.
#pragma once

#include <windows.h>

#include <string>

namespace zn::zindesign {

class TDialogAnswer {
public:
    explicit TDialogAnswer(std::wstring FileName);
    ~TDialogAnswer();
    TDialogAnswer(const TDialogAnswer&) = delete;
    TDialogAnswer& operator=(const TDialogAnswer&) = delete;

    bool Answered() const;

private:
    UINT_PTR FTimer;
};

} // namespace zn::zindesign
