// What the embedded file suites share: filling an item and reading its bytes back.
#pragma once

#include "zintara/core/flash_list.h"

#include <string>
#include <vector>

namespace zn::testing_support {

using TBytes = std::vector<unsigned char>;

inline TBytes Contents(TCustomMemoryStream& Stream) {
    auto* First = static_cast<const unsigned char*>(Stream.Memory());
    return TBytes(First, First + Stream.Size());
}

inline TBytes TextBytes(const std::string& Text) { return TBytes(Text.begin(), Text.end()); }

// An item of List holding Bytes under Name.
inline TznFlashStream* AddFlash(TznFlashList& List, const std::wstring& Name, const TBytes& Bytes) {
    TznFlashStream* Item = List.Flashs()->Add();
    Item->Flash().WriteBuffer(Bytes.data(), Bytes.size());
    Item->Flash().SetPosition(0);
    Item->SetFlashStore(Name);
    return Item;
}

} // namespace zn::testing_support
