// The tag codes this engine reads and writes.
#pragma once

#include <cstdint>

namespace zn::swf::tag {

inline constexpr uint16_t End = 0;
inline constexpr uint16_t ShowFrame = 1;
inline constexpr uint16_t DefineShape = 2;
inline constexpr uint16_t PlaceObject = 4;
inline constexpr uint16_t RemoveObject = 5;
inline constexpr uint16_t SetBackgroundColor = 9;
inline constexpr uint16_t DoAction = 12;
inline constexpr uint16_t DefineShape2 = 22;
inline constexpr uint16_t PlaceObject2 = 26;
inline constexpr uint16_t RemoveObject2 = 28;
inline constexpr uint16_t DefineShape3 = 32;
inline constexpr uint16_t DefineButton2 = 34;
inline constexpr uint16_t DefineSprite = 39;
inline constexpr uint16_t FrameLabel = 43;
inline constexpr uint16_t DefineVideoStream = 60;

} // namespace zn::swf::tag
