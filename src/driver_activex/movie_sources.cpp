// Resolving the names the control asks its bind host for, and taking their sources.
#include "movie_sources.h"

#include "zintara/core/flash_list.h"
#include "zintara/core/local_files.h"
#include "zintara/core/local_sources.h"
#include "zintara/core/request_names.h"
#include "zintara/framework/module_paths.h"
#include "zintara/framework/text.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <utility>
#include <string_view>

namespace zn::activex {
namespace {

constexpr std::wstring_view ListMarker = L"<list>";
constexpr std::wstring_view ResourceMarker = L"<res>";

// The kinds of file a movie loads; a name carrying none of them is the control's business (a
// video site's page address among them: the control fetches it itself). The test is exact:
// "MOVIE.SWF" carries none.
constexpr std::array<std::wstring_view, 8> ContentMarkers = {
    L".swf", L".flv", L".xml", L".jpg", L".png", L".mp3", L".ogg", L".txt"};

bool StartsWith(std::wstring_view Text, std::wstring_view Prefix)
{
    return Text.substr(0, Prefix.size()) == Prefix;
}

bool Contains(std::wstring_view Text, std::wstring_view Part)
{
    return Text.find(Part) != std::wstring_view::npos;
}

std::wstring Lowered(std::wstring Text)
{
    if (!Text.empty())
        CharLowerBuffW(Text.data(), static_cast<DWORD>(Text.size()));
    return Text;
}

// Names are taken apart as UTF-8, which carries every character of a file name; the escapes
// and separators are ASCII either way.

// Name lower-cased with its file-name escapes decoded and cut before its query part.
std::wstring WithoutQuery(const std::wstring& Name)
{
    std::wstring text = Utf8ToWide(DecodeName(WideToUtf8(Lowered(Name))));
    return text.substr(0, text.find_first_of(L"&?"));
}

// The name under which the embedded file library and the resources are searched: the file part
// of the name, without its query.
std::wstring LibraryFileName(const std::wstring& Name)
{
    return Utf8ToWide(FilePart(WideToUtf8(WithoutQuery(Name))));
}

std::wstring BaseUrl()
{
    return AnsiToWide(PseudoHostBaseUrl);
}

bool HasResource(const std::wstring& FileName)
{
    return OpenLibraryResource(ResourceNameOf(WideToAnsi(FileName))) != nullptr;
}

std::unique_ptr<TStream> OpenFile(const std::wstring& Name)
{
    const auto path = LocalFileOf(Name);
    return path ? OpenExistingFile(*path) : nullptr;
}

} // namespace

std::wstring PseudoHostName(const std::wstring& Name)
{
    return BaseUrl() + Name;
}

std::optional<std::wstring> LocalFileOf(const std::wstring& Name)
{
    std::wstring path = Utf8ToWide(DecodeName(WideToUtf8(Lowered(Name))));
    if (StartsWith(path, L"file://"))
        path.erase(0, 7);
    if (StartsWith(path, L"/"))
        path.erase(0, 1);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::replace(path.begin(), path.end(), L'|', L':');
    path.erase(std::min(path.find_first_of(L"&?"), path.size()));
    if (path.empty() || IsNetworkOrDevicePath(WideToUtf8(path)) || !IsExistingFile(path))
        return std::nullopt;
    return path;
}

// The first rule that applies wins. A name that resolves to no source leaves nothing for the
// bind, which then fails: it never serves the name resolved before.
bool TMovieSources::Resolve(std::wstring Name)
{
    if (StartsWith(Name, L"./"))
        Name.erase(0, 2);
    const std::wstring base = BaseUrl();
    const std::wstring prefix = AnsiToWide(PseudoHostPrefix);
    FCurrent.clear();
    if (Name == L"file://")
        return true;
    if (StartsWith(Name, L"http://") && !Contains(Name, prefix)) {
        FCurrent = Name;
        return true;
    }
    if (std::none_of(ContentMarkers.begin(), ContentMarkers.end(),
                     [&](std::wstring_view Marker) { return Contains(Name, Marker); }))
        return false;

    const std::wstring file_name = LibraryFileName(Name);
    const std::wstring folder = ExecutableFolder();
    const bool under_base = StartsWith(Name, base);
    const std::wstring after_base = under_base ? Name.substr(base.size()) : std::wstring();
    if (CopyFlashListStream(file_name)) {
        FCurrent = std::wstring(ListMarker) + file_name;
    } else if (HasResource(file_name)) {
        FCurrent = std::wstring(ResourceMarker) + file_name;
    } else if (under_base && LocalFileOf(folder + after_base)) {
        FCurrent = folder + after_base;
    } else if (LocalFileOf(folder + Name)) {
        FCurrent = folder + Name;
    } else if (under_base) {
        // A drive path counts only when its file exists; any other name is tried as it is.
        const std::wstring rest = StartsWith(after_base, L"./") ? after_base.substr(2) : after_base;
        if (rest.size() <= 2 || rest[1] != L':' || LocalFileOf(rest))
            FCurrent = rest;
    } else if (!StartsWith(Name, L"file://") || LocalFileOf(Name)) {
        FCurrent = Name;
    }
    std::replace(FCurrent.begin(), FCurrent.end(), L'\\', L'/');
    return true;
}

TMovieSources::TSource TMovieSources::TakeCurrent()
{
    const std::wstring current = std::exchange(FCurrent, std::wstring());
    TSource source;
    if (StartsWith(current, ListMarker))
        source.Data = CopyFlashListStream(current.substr(ListMarker.size()));
    else if (StartsWith(current, ResourceMarker))
        source.Data =
            OpenLibraryResource(ResourceNameOf(WideToAnsi(current.substr(ResourceMarker.size()))));
    else if (const auto token = StreamTokenOf(WideToAnsi(current)))
        source.Data = FCopies.Take(*token);
    else if (auto file = OpenFile(current))
        source.Data = std::move(file);
    else
        source.Url = current;
    return source;
}

} // namespace zn::activex
