// The embedded file library: files carried inside a form, each a named item of a list
// component, all of them entered by name in one process-wide registry that the drivers consult
// before they read a requested file from the disk.
#pragma once

#include "zintara/framework/streams.h"

#include <string>

namespace zn {

// The "FlashStream" block of an item, as stored inside its binary property. All integers are
// little-endian:
//   Kind 4: 1 byte 4, int32 name length N (UTF-16 units), N units of name, int32 size S, S bytes
//   Kind 0: the single byte 0, an item without bytes
//   Kind 2 (read only): 1 byte 2, int32 length L, L bytes of name in the system code page,
//           then the size and bytes as for Kind 4
// Any other Kind is that one byte and nothing more.
inline constexpr unsigned char FlashBlockEmpty = 0;
inline constexpr unsigned char FlashBlockAnsiName = 2;
inline constexpr unsigned char FlashBlockWideName = 4;

// Writes Data's whole contents, from its start, under Name: Kind 4, or Kind 0 when Data is
// empty. Raises EWriteError for a name or size that the block's 32-bit fields cannot hold.
void WriteFlashBlock(TStream& Stream, const std::wstring& Name, TCustomMemoryStream& Data);

// Reads one block. For Kind 2 and 4 the name goes to Name and the bytes replace Data's
// (Data's position is kept) and the result is true; any other Kind changes neither and the
// result is false. Every length is checked against the bytes left in Stream before anything is
// allocated: a negative one, or one beyond the end, raises EReadError and leaves Name and Data
// as they were. Name is set only once the whole block has been read.
bool ReadFlashBlock(TStream& Stream, std::wstring& Name, TMemoryStream& Data);

} // namespace zn
