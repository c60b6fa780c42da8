// The conversions between the two forms as byte strings, for the form targets.
#pragma once

#include "support/stream_helpers.h"

#include "zintara/framework/form_text.h"

#include <string>

namespace zn::fuzz {

using test::Contents;
using test::Load;

inline std::string BinaryToText(const std::string& Binary)
{
    TMemoryStream input, output;
    Load(input, Binary);
    ObjectBinaryToText(input, output);
    return Contents(output);
}

inline std::string TextToBinary(const std::string& Text)
{
    TMemoryStream input, output;
    Load(input, Text);
    ObjectTextToBinary(input, output);
    return Contents(output);
}

} // namespace zn::fuzz
