// Reading the embed's attributes.
#include "instance_settings.h"

#include <cctype>
#include <charconv>

namespace zn::np {

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<std::uint32_t> ParseSize(std::string_view text)
{
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // "100%" and the like are relative sizes: the window decides.
    if (error != std::errc{} || end != text.data() + text.size() || value > 0x7FFF)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::uint32_t> ParseColor(std::string_view text)
{
    if (!text.empty() && text.front() == '#')
        text.remove_prefix(1);
    else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

InstanceSettings
ReadInstanceSettings(const std::vector<std::pair<std::string_view, std::string_view>>& attributes)
{
    InstanceSettings settings;
    for (const auto& [name, value] : attributes) {
        if (SameName(name, "wmode"))
            settings.transparent = SameName(value, "transparent");
        else if (SameName(name, "width"))
            settings.width = ParseSize(value).value_or(settings.width);
        else if (SameName(name, "height"))
            settings.height = ParseSize(value).value_or(settings.height);
        else if (SameName(name, "bgcolor"))
            settings.background = ParseColor(value);
    }
    return settings;
}

} // namespace zn::np
