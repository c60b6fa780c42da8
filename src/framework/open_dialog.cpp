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

DWORD DialogFlags(TOpenOptions Options)
{
    DWORD flags = OFN_EXPLORER;
    if (Options.Contains(TOpenOption::ofReadOnly))
        flags |= OFN_READONLY;
    if (Options.Contains(TOpenOption::ofHideReadOnly))
        flags |= OFN_HIDEREADONLY;
    if (Options.Contains(TOpenOption::ofNoChangeDir))
        flags |= OFN_NOCHANGEDIR;
    if (Options.Contains(TOpenOption::ofAllowMultiSelect))
        flags |= OFN_ALLOWMULTISELECT;
    if (Options.Contains(TOpenOption::ofPathMustExist))
        flags |= OFN_PATHMUSTEXIST;
    if (Options.Contains(TOpenOption::ofFileMustExist))
        flags |= OFN_FILEMUSTEXIST;
    if (Options.Contains(TOpenOption::ofEnableSizing))
        flags |= OFN_ENABLESIZING;
    return flags;
}

const wchar_t* OrNull(const std::wstring& Text)
{
    return Text.empty() ? nullptr : Text.c_str();
}

} // namespace

const TClassInfo& TOpenDialog::ClassInfo()
{
    using P = TPublished<TOpenDialog>;
    static const TPropertyInfo properties[] = {
        P::WideString<&TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt>(L"DefaultExt"),
        P::WideString<&TOpenDialog::FileName, &TOpenDialog::SetFileName>(L"FileName"),
        P::WideString<&TOpenDialog::Filter, &TOpenDialog::SetFilter>(L"Filter"),
        P::Integer<&TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex>(L"FilterIndex", 1),
        P::WideString<&TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir>(L"InitialDir"),
        P::Set<&TOpenDialog::Options, &TOpenDialog::SetOptions>(
            L"Options", OpenOptionNames,
            TOpenOptions{TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing}),
        P::WideString<&TOpenDialog::Title, &TOpenDialog::SetTitle>(L"Title"),
    };
    static const TClassInfo info =
        DeclareClass<TOpenDialog, TComponent>(L"TOpenDialog", properties);
    return info;
}
const TClassInfo& TOpenDialog::ClassType() const
{
    return ClassInfo();
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

bool TOpenDialog::Execute()
{
    std::wstring selection(SelectionCapacity, L'\0');
    FFileName.copy(selection.data(), std::min(FFileName.size(), SelectionCapacity - 2));
    std::wstring filter = DialogFilter(FFilter);
    OPENFILENAMEW request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = GetActiveWindow();
    request.lpstrFilter = FFilter.empty() ? nullptr : filter.c_str();
    request.nFilterIndex = static_cast<DWORD>(FFilterIndex);
    request.lpstrFile = selection.data();
    request.nMaxFile = static_cast<DWORD>(selection.size() - 1);
    request.lpstrInitialDir = OrNull(FInitialDir);
    request.lpstrTitle = OrNull(FTitle);
    request.lpstrDefExt = OrNull(FDefaultExt);
    request.Flags = DialogFlags(FOptions);
    if (!GetOpenFileNameW(&request)) {
        DWORD error = CommDlgExtendedError();
        if (error)
            throw EInvalidOperation(L"The open dialog failed with error " + std::to_wstring(error));
        return false;
    }
    FFiles = SelectedFiles(selection.data(), selection.size());
    FFileName = FFiles.empty() ? std::wstring() : FFiles.front();
    FFilterIndex = static_cast<int>(request.nFilterIndex);
    if (request.Flags & OFN_READONLY)
        FOptions.Include(TOpenOption::ofReadOnly);
    else
        FOptions.Exclude(TOpenOption::ofReadOnly);
    return true;
}

} // namespace zn
