// DefineButton2 bodies: the state records and the conditional actions.
#pragma once

#include "byte_reader.h"
#include "byte_writer.h"
#include "znswf/movie.h"

namespace zn::swf {

// Reads the whole tag body; false when it is unusable (buttons with filters or blend modes included).
bool ReadButton(ByteReader& in, Button& button);
void WriteButton(ByteWriter& out, const Button& button);

} // namespace zn::swf
