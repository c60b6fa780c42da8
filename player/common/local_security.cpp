// The local-file restriction on requests a movie makes.
#include "common/local_security.h"

#include <cctype>

namespace zn::player {

namespace {

// The scheme of a URL in lower case, or empty when there is none. A single letter before the
// colon is a drive ("C:\movie.swf"), not a scheme.
std::string_view::size_type SchemeLength(std::string_view url)
{
    auto colon = url.find(':');
    if (colon == std::string_view::npos || colon < 2)
        return 0;
    for (std::string_view::size_type i = 0; i < colon; ++i) {
        unsigned char c = static_cast<unsigned char>(url[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return 0;
    }
    return colon;
}

bool HasScheme(std::string_view url, std::string_view scheme)
{
    auto length = SchemeLength(url);
    if (length != scheme.size())
        return false;
    for (std::string_view::size_type i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(url[i])) != scheme[i])
            return false;
    return true;
}

} // namespace

bool IsLocalUrl(std::string_view url)
{
    return SchemeLength(url) == 0 || HasScheme(url, "file");
}

bool IsRequestAllowed(std::string_view movieUrl, std::string_view requestUrl,
                      bool restrictionLifted)
{
    if (restrictionLifted || !IsLocalUrl(movieUrl))
        return true;
    return IsLocalUrl(requestUrl);
}

} // namespace zn::player
