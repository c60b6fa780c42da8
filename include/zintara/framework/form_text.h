// The text form of forms, converted to and from the binary form so that one reader serves
// both:
//
//   object List1: TznFlashList
//     Flashs = <
//       item
//         FlashStore = 'a.swf'
//         FlashStream = {
//           0405000000}
//       end>
//   end
//
// Strings are quoted with '...', with #nnn for every character outside printable ASCII, sets
// are [a, b], lists ( ... ), collections < item ... end >, binary data hexadecimal in { }.
#pragma once

#include "zintara/framework/streams.h"

namespace zn {

// From Input's position to the end of one form; damaged input raises EReadError.
void ObjectBinaryToText(TStream& Input, TStream& Output);
// Malformed text raises EParserError (a kind of EReadError) naming the line.
void ObjectTextToBinary(TStream& Input, TStream& Output);

} // namespace zn
