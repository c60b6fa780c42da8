// The open dialog's filter and selection formats, converted without any window.
#include "zintara/framework/dialogs.h"

namespace zn {

std::wstring DialogFilter(const std::wstring& Filter) {
    std::vector<std::wstring> Parts;
    std::size_t Start = 0;
    while (Start <= Filter.size() && !Filter.empty()) {
        std::size_t Bar = Filter.find(L'|', Start);
        if (Bar == std::wstring::npos) Bar = Filter.size();
        Parts.push_back(Filter.substr(Start, Bar - Start));
        Start = Bar + 1;
    }
    if (Parts.size() % 2) Parts.pop_back();
    std::wstring Result;
    for (const std::wstring& Part : Parts) {
        Result += Part;
        Result += L'\0';
    }
    Result += L'\0';
    return Result;
}

std::vector<std::wstring> SelectedFiles(const wchar_t* Buffer, std::size_t Size) {
    std::vector<std::wstring> Names;
    std::size_t Position = 0;
    while (Position < Size && Buffer[Position]) {
        std::size_t End = Position;
        while (End < Size && Buffer[End]) ++End;
        Names.emplace_back(Buffer + Position, End - Position);
        Position = End + 1;
    }
    if (Names.size() <= 1) return Names;
    std::wstring Folder = Names.front();
    if (!Folder.empty() && Folder.back() != L'\\') Folder += L'\\';
    std::vector<std::wstring> Paths;
    for (std::size_t I = 1; I < Names.size(); ++I) Paths.push_back(Folder + Names[I]);
    return Paths;
}

} // namespace zn
