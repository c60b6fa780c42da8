// The conversions between the two forms as byte strings, for the form targets.
#pragma once

#include "stream_helpers.h"

#include "zintara/framework/form_text.h"

#include <string>

namespace zn::fuzz {

using testing::Contents;
using testing::Load;

inline std::string BinaryToText(const std::string& Binary) {
    TMemoryStream Input, Output;
    Load(Input, Binary);
    ObjectBinaryToText(Input, Output);
    return Contents(Output);
}

inline std::string TextToBinary(const std::string& Text) {
    TMemoryStream Input, Output;
    Load(Input, Text);
    ObjectTextToBinary(Input, Output);
    return Contents(Output);
}

} // namespace zn::fuzz
