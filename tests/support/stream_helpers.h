// Memory streams as byte strings, for tests that compare exact bytes.
#pragma once

#include "zintara/framework/streams.h"

#include <string>

namespace zn::test {

inline std::string Contents(TCustomMemoryStream& Stream)
{
    return std::string(static_cast<const char*>(Stream.Memory()),
                       static_cast<size_t>(Stream.Size()));
}

// Replaces the stream's bytes and moves to the start, ready to be read.
inline void Load(TMemoryStream& Stream, const std::string& Bytes)
{
    Stream.Clear();
    Stream.WriteBuffer(Bytes.data(), Bytes.size());
    Stream.SetPosition(0);
}

} // namespace zn::test
