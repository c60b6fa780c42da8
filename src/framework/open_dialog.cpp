// TOpenDialog: its published settings and the call of GetOpenFileNameW.
#include "zintara/framework/dialogs.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>

namespace zn {

namespace {

// Room for many names chosen at once; a single path needs far less.
constexpr std::size_t SelectionCapacity = 32768;

DWORD DialogFlags(TOpenOptions Options) {
    DWORD Flags = OFN_EXPLORER;
    if (Options.Contains(TOpenOption::ofReadOnly)) Flags |= OFN_READONLY;
    if (Options.Contains(TOpenOption::ofHideReadOnly)) Flags |= OFN_HIDEREADONLY;
    if (Options.Contains(TOpenOption::ofNoChangeDir)) Flags |= OFN_NOCHANGEDIR;
    if (Options.Contains(TOpenOption::ofAllowMultiSelect)) Flags |= OFN_ALLOWMULTISELECT;
    if (Options.Contains(TOpenOption::ofPathMustExist)) Flags |= OFN_PATHMUSTEXIST;
    if (Options.Contains(TOpenOption::ofFileMustExist)) Flags |= OFN_FILEMUSTEXIST;
    if (Options.Contains(TOpenOption::ofEnableSizing)) Flags |= OFN_ENABLESIZING;
    return Flags;
}

const wchar_t* OrNull(const std::wstring& Text) { return Text.empty() ? nullptr : Text.c_str(); }

} // namespace

const TClassInfo& TOpenDialog::ClassInfo() {
    using P = TPublished<TOpenDialog>;
    static const TPropertyInfo Properties[] = {
        P::WideString<&TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt>(L"DefaultExt"),
        P::WideString<&TOpenDialog::FileName, &TOpenDialog::SetFileName>(L"FileName"),
        P::WideString<&TOpenDialog::Filter, &TOpenDialog::SetFilter>(L"Filter"),
        P::Integer<&TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex>(L"FilterIndex", 1),
        P::WideString<&TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir>(L"InitialDir"),
        P::Set<&TOpenDialog::Options, &TOpenDialog::SetOptions>(
            L"Options", OpenOptionNames, TOpenOptions{TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing}),
        P::WideString<&TOpenDialog::Title, &TOpenDialog::SetTitle>(L"Title"),
    };
    static const TClassInfo Info = DeclareClass<TOpenDialog, TComponent>(L"TOpenDialog", Properties);
    return Info;
}
const TClassInfo& TOpenDialog::ClassType() const { return ClassInfo(); }

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

bool TOpenDialog::Execute() {
    std::wstring Selection(SelectionCapacity, L'\0');
    FFileName.copy(Selection.data(), std::min(FFileName.size(), SelectionCapacity - 2));
    std::wstring Filter = DialogFilter(FFilter);
    OPENFILENAMEW Request{};
    Request.lStructSize = sizeof(Request);
    Request.hwndOwner = GetActiveWindow();
    Request.lpstrFilter = FFilter.empty() ? nullptr : Filter.c_str();
    Request.nFilterIndex = static_cast<DWORD>(FFilterIndex);
    Request.lpstrFile = Selection.data();
    Request.nMaxFile = static_cast<DWORD>(Selection.size() - 1);
    Request.lpstrInitialDir = OrNull(FInitialDir);
    Request.lpstrTitle = OrNull(FTitle);
    Request.lpstrDefExt = OrNull(FDefaultExt);
    Request.Flags = DialogFlags(FOptions);
    if (!GetOpenFileNameW(&Request)) {
        DWORD Error = CommDlgExtendedError();
        if (Error) throw EInvalidOperation(L"The open dialog failed with error " + std::to_wstring(Error));
        return false;
    }
    FFiles = SelectedFiles(Selection.data(), Selection.size());
    FFileName = FFiles.empty() ? std::wstring() : FFiles.front();
    FFilterIndex = static_cast<int>(Request.nFilterIndex);
    if (Request.Flags & OFN_READONLY) FOptions.Include(TOpenOption::ofReadOnly);
    else FOptions.Exclude(TOpenOption::ofReadOnly);
    return true;
}

} // namespace zn
