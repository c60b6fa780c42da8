// DefineShape, DefineShape2 and DefineShape3 bodies: style tables and shape records.
#pragma once

#include "byte_reader.h"
#include "byte_writer.h"
#include "znswf/movie.h"

namespace zn::swf {

// Limits that keep a hostile shape's cost bounded; a shape beyond them keeps what fits.
inline constexpr size_t MaximumShapeRecords = 1 << 18;

// Reads the body after the character id. Returns false when the tag is unusable.
bool ReadShapeBody(ByteReader& in, Shape& shape);
void WriteShapeBody(ByteWriter& out, const Shape& shape);

// The edges' own bounds, widened by the widest stroke.
TwipsRect ComputeEdgeBounds(const Shape& shape);

} // namespace zn::swf
