// A rectangle of the screen as the user sees it, read back into 32-bit pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace zn::zinshow {

// Opaque pixels 0xFFRRGGBB, rows of the rectangle's width, top row first; empty when the screen
// cannot be read.
std::vector<std::uint32_t> CaptureScreen(const RECT& Area);

} // namespace zn::zinshow
