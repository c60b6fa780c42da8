// Names a player requests, taken apart: the pseudo host under which a driver hands out names it
// serves itself, query pairs, the escapes a name may carry, the file part, the resource name and
// the stream tokens of copies the application handed over.
//
// Plain C++ on 8-bit text in the system code page, the form in which the player speaks; no
// Windows header. Every name here comes from a movie and is untrusted: nothing is assumed about
// its length or content.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zn {

// "http://" and a single-label host that no network resolves; the base URL adds the final "/".
inline constexpr std::string_view PseudoHostPrefix = "http://zintara";
inline constexpr std::string_view PseudoHostBaseUrl = "http://zintara/";

inline constexpr std::string_view StreamNameMarker = "<stream>";

// Reads from the front of Text up to the first of Delimiters, which is consumed and not part of
// the token. The token and the rest of Text are trimmed of blanks and control characters.
// Quoting is not understood: a delimiter inside quotes ends the token.
std::string ReadToken(std::string& Text, std::string_view Delimiters);

using TQueryPairs = std::vector<std::pair<std::string, std::string>>;

// A request with the pseudo-host prefix and "file:///" removed and, unless it is an HTTP URL,
// its query split off into name/value pairs (in order, not decoded).
struct TResolvedRequest {
    std::string Name;
    TQueryPairs Query;
};

TResolvedRequest ResolveRequest(std::string_view Url);

// Name with the escapes of the characters a file name may hold decoded, ignoring case:
// %3f %3d %26 %20 %2d %2f. No other escape is decoded.
std::string DecodeName(std::string_view Name);

// The text after the last "\", ":" or "/".
std::string_view FilePart(std::string_view Name);

// The name under which the library's resources are looked up: the file part without its
// extension (everything before the last ".").
std::string_view ResourceNameOf(std::string_view Name);

bool IsHttpUrl(std::string_view Name);

// Whether Windows would read Name as a network or device path rather than a path in this
// machine's folders: a UNC path ("\\server\share", "//server/share") or a device or object
// path ("\\?\", "\\.\", "\??\"), with either separator. A host never opens such a name from a
// movie as a file.
bool IsNetworkOrDevicePath(std::string_view Name);

// A stream token is exactly 8 hexadecimal digits naming a pending copy.
std::string FormatStreamToken(std::uint32_t Token);

// The token of "<stream>XXXXXXXX..." or "/<stream>XXXXXXXX...", when the eight characters after
// the marker are hexadecimal digits.
std::optional<std::uint32_t> StreamTokenOf(std::string_view Name);

// The name under which LoadMovieFromStream hands a copy to the plug-in.
std::string StreamMovieUrl(std::uint32_t Token, std::string_view Extension);

} // namespace zn
