// The small records tags share: RECT, MATRIX, CXFORM (with and without alpha), RGB and RGBA.
#pragma once

#include "byte_reader.h"
#include "byte_writer.h"
#include "znswf/geometry.h"

namespace zn::swf {

TwipsRect ReadRect(ByteReader& in);
Matrix ReadMatrix(ByteReader& in);
ColorTransform ReadColorTransform(ByteReader& in, bool withAlpha);
Rgba ReadRgb(ByteReader& in);
Rgba ReadRgba(ByteReader& in);

void WriteRect(ByteWriter& out, const TwipsRect& rect);
void WriteMatrix(ByteWriter& out, const Matrix& matrix);
void WriteColorTransform(ByteWriter& out, const ColorTransform& transform, bool withAlpha);
void WriteRgb(ByteWriter& out, Rgba color);
void WriteRgba(ByteWriter& out, Rgba color);

} // namespace zn::swf
