// The open dialog's filter and selection formats, converted without any window.
#include "zintara/framework/dialogs.h"

namespace zn {

std::wstring DialogFilter(const std::wstring& Filter)
{
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (start <= Filter.size() && !Filter.empty()) {
        std::size_t bar = Filter.find(L'|', start);
        if (bar == std::wstring::npos)
            bar = Filter.size();
        parts.push_back(Filter.substr(start, bar - start));
        start = bar + 1;
    }
    if (parts.size() % 2)
        parts.pop_back();
    std::wstring result;
    for (const std::wstring& part : parts) {
        result += part;
        result += L'\0';
    }
    result += L'\0';
    return result;
}

std::vector<std::wstring> SelectedFiles(const wchar_t* Buffer, std::size_t Size)
{
    std::vector<std::wstring> names;
    std::size_t position = 0;
    while (position < Size && Buffer[position]) {
        std::size_t end = position;
        while (end < Size && Buffer[end])
            ++end;
        names.emplace_back(Buffer + position, end - position);
        position = end + 1;
    }
    if (names.size() <= 1)
        return names;
    std::wstring folder = names.front();
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    std::vector<std::wstring> paths;
    for (std::size_t i = 1; i < names.size(); ++i)
        paths.push_back(folder + names[i]);
    return paths;
}

} // namespace zn
