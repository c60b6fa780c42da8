// TOpenDialog: the system's dialog for choosing files to open, as a component whose settings
// are stored with a form; the conversions of its filter and multiple selection, which need no
// window; and the plain message box.
#pragma once

#include "zintara/framework/component.h"
#include "zintara/framework/types.h"

#include <string>
#include <vector>

namespace zn {

enum class TOpenOption {
    ofReadOnly,
    ofHideReadOnly,
    ofNoChangeDir,
    ofAllowMultiSelect,
    ofPathMustExist,
    ofFileMustExist,
    ofEnableSizing,
};
using TOpenOptions = TSet<TOpenOption>;
inline constexpr const wchar_t* OpenOptionNames[] = {
    L"ofReadOnly",      L"ofHideReadOnly",  L"ofNoChangeDir", L"ofAllowMultiSelect",
    L"ofPathMustExist", L"ofFileMustExist", L"ofEnableSizing"};

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner);

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    // Shows the dialog, owned by the active window of this thread; true when the user chose,
    // false when cancelled. A failure of the dialog itself raises EInvalidOperation.
    bool Execute();

    const std::wstring& FileName() const { return FFileName; }
    void SetFileName(const std::wstring& Value) { FFileName = Value; }
    // Every file chosen, as full paths; one entry unless ofAllowMultiSelect.
    const std::vector<std::wstring>& Files() const { return FFiles; }
    // "Description|Pattern|Description|Pattern", patterns separated by semicolons.
    const std::wstring& Filter() const { return FFilter; }
    void SetFilter(const std::wstring& Value) { FFilter = Value; }
    // 1-based, as the dialog counts; updated to the user's choice.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    const std::wstring& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::wstring& Value) { FDefaultExt = Value; }
    const std::wstring& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::wstring& Value) { FInitialDir = Value; }
    const std::wstring& Title() const { return FTitle; }
    void SetTitle(const std::wstring& Value) { FTitle = Value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }

private:
    std::wstring FFileName;
    std::vector<std::wstring> FFiles;
    std::wstring FFilter;
    int FFilterIndex = 1;
    std::wstring FDefaultExt;
    std::wstring FInitialDir;
    std::wstring FTitle;
    TOpenOptions FOptions{TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing};
};

// "Text|*.txt|All|*.*" as the dialog takes it: each part ended by a null, the whole by a
// second one. A trailing description without a pattern is dropped.
std::wstring DialogFilter(const std::wstring& Filter);
// The dialog's answer in Buffer (Size characters): one path, or with multiple selection a
// folder followed by names, each ended by a null and the list by a second one. Paths made of
// the folder and each name; nothing is read past Size.
std::vector<std::wstring> SelectedFiles(const wchar_t* Buffer, std::size_t Size);

// A plain message box with an OK button, over the active window of this thread, captioned with
// the application's title (the executable's name when there is none); returns once closed.
void ShowMessage(const std::wstring& Message);

} // namespace zn
