// Taking apart the names a player requests (see request_names.h).
#include "zintara/core/request_names.h"

#include <array>

namespace zn {
namespace {

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

void Trim(std::string& Text)
{
    std::size_t first = 0;
    while (first < Text.size() && IsBlank(Text[first]))
        ++first;
    std::size_t last = Text.size();
    while (last > first && IsBlank(Text[last - 1]))
        --last;
    Text = Text.substr(first, last - first);
}

bool StartsWith(std::string_view Text, std::string_view Prefix)
{
    return Text.substr(0, Prefix.size()) == Prefix;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Replaces every occurrence of Escape (three characters, compared ignoring case) by Character.
std::string ReplaceEscape(std::string_view Text, std::string_view Escape, char Character)
{
    std::string result;
    result.reserve(Text.size());
    std::size_t i = 0;
    while (i < Text.size()) {
        const bool matches = i + Escape.size() <= Text.size() && [&] {
            for (std::size_t k = 0; k < Escape.size(); ++k)
                if (LowerAscii(Text[i + k]) != Escape[k])
                    return false;
            return true;
        }();
        if (matches) {
            result += Character;
            i += Escape.size();
        } else {
            result += Text[i++];
        }
    }
    return result;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string ReadToken(std::string& Text, std::string_view Delimiters)
{
    const std::size_t end = Text.find_first_of(Delimiters);
    std::string token = Text.substr(0, end);
    Text.erase(0, end == std::string::npos ? Text.size() : end + 1);
    Trim(token);
    Trim(Text);
    return token;
}

TResolvedRequest ResolveRequest(std::string_view Url)
{
    if (StartsWith(Url, PseudoHostPrefix))
        Url.remove_prefix(PseudoHostPrefix.size());
    constexpr std::string_view file_scheme = "file:///";
    if (StartsWith(Url, file_scheme))
        Url.remove_prefix(file_scheme.size());

    TResolvedRequest request{std::string(Url), {}};
    if (Url.find("http:") != std::string_view::npos || Url.find('?') == std::string_view::npos)
        return request;

    std::string rest(Url);
    request.Name = ReadToken(rest, "?");
    while (!rest.empty()) {
        std::string name = ReadToken(rest, "=");
        std::string value = ReadToken(rest, "&");
        request.Query.emplace_back(std::move(name), std::move(value));
    }
    return request;
}

std::string DecodeName(std::string_view Name)
{
    static constexpr std::array<std::pair<std::string_view, char>, 6> escapes{{
        {"%3f", '?'},
        {"%3d", '='},
        {"%26", '&'},
        {"%20", ' '},
        {"%2d", '-'},
        {"%2f", '/'},
    }};
    std::string decoded(Name);
    for (const auto& [escape, character] : escapes)
        decoded = ReplaceEscape(decoded, escape, character);
    return decoded;
}

std::string_view FilePart(std::string_view Name)
{
    const std::size_t separator = Name.find_last_of("\\:/");
    return separator == std::string_view::npos ? Name : Name.substr(separator + 1);
}

std::string_view ResourceNameOf(std::string_view Name)
{
    const std::string_view file = FilePart(Name);
    return file.substr(0, file.rfind('.'));
}

bool IsHttpUrl(std::string_view Name)
{
    return StartsWith(Name, "http:");
}

bool IsNetworkOrDevicePath(std::string_view Name)
{
    const auto separator = [&](std::size_t At) {
        return At < Name.size() && (Name[At] == '\\' || Name[At] == '/');
    };
    if (separator(0) && separator(1))
        return true;
    return separator(0) && Name.substr(1, 2) == "??" && separator(3);
}

std::string FormatStreamToken(std::uint32_t Token)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, Token >>= 4)
        text[static_cast<std::size_t>(i)] = digits[Token & 0xFu];
    return text;
}

std::optional<std::uint32_t> StreamTokenOf(std::string_view Name)
{
    if (StartsWith(Name, "/"))
        Name.remove_prefix(1);
    if (!StartsWith(Name, StreamNameMarker))
        return std::nullopt;
    Name.remove_prefix(StreamNameMarker.size());
    if (Name.size() < 8)
        return std::nullopt;
    std::uint32_t token = 0;
    for (char c : Name.substr(0, 8)) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        token = token << 4 | static_cast<std::uint32_t>(digit);
    }
    return token;
}

std::string StreamMovieUrl(std::uint32_t Token, std::string_view Extension)
{
    std::string url(PseudoHostBaseUrl);
    url += StreamNameMarker;
    url += FormatStreamToken(Token);
    url += Extension;
    return url;
}

} // namespace zn
