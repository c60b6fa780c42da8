// What an embed's attributes ask of a new instance: transparency, size and background.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace zn::np {

struct InstanceSettings {
    bool transparent = false; // wmode "transparent": nothing of the background is drawn
    std::uint32_t width = 0, height = 0;
    std::optional<std::uint32_t> background; // "bgcolor", as 0xRRGGBB
};

// Names compare without regard to case, as HTML attributes do; later attributes win.
InstanceSettings
ReadInstanceSettings(const std::vector<std::pair<std::string_view, std::string_view>>& attributes);

// Hexadecimal after an optional "#" or "0x" ("#0", "#FF8000"): the colour as 0xRRGGBB.
std::optional<std::uint32_t> ParseColor(std::string_view text);

} // namespace zn::np
