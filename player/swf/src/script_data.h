// The script data values of video files (AMF0), as far as metadata needs them: reading the
// "onMetaData" call and writing one.
#pragma once

#include <optional>
#include <string>

#include "byte_reader.h"
#include "byte_writer.h"
#include "znswf/flv.h"

namespace zn::swf {

// Reads a script tag: the called name and its argument. Empty when the tag is not
// "onMetaData" with an object or an associative array, or when it is malformed.
std::optional<FlvMetadata> ReadMetadataCall(ByteReader& in);

void WriteMetadataCall(ByteWriter& out, const FlvMetadata& metadata);

} // namespace zn::swf
