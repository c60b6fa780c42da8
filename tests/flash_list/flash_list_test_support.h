// What the embedded file suites share: filling an item and reading its bytes back.
#pragma once

#include "zintara/core/flash_list.h"

#include <string>
#include <vector>

namespace zn::test {

using TBytes = std::vector<unsigned char>;

inline TBytes Contents(TCustomMemoryStream& Stream)
{
    auto* first = static_cast<const unsigned char*>(Stream.Memory());
    return TBytes(first, first + Stream.Size());
}

inline TBytes TextBytes(const std::string& Text)
{
    return TBytes(Text.begin(), Text.end());
}

// An item of List holding Bytes under Name.
inline TznFlashStream* AddFlash(TznFlashList& List, const std::wstring& Name, const TBytes& Bytes)
{
    TznFlashStream* item = List.Flashs()->Add();
    item->Flash().WriteBuffer(Bytes.data(), Bytes.size());
    item->Flash().SetPosition(0);
    item->SetFlashStore(Name);
    return item;
}

} // namespace zn::test
