// The embedded-file block from any bytes: a block read must write back as the same name and
// bytes, and a failed read must leave the name and the bytes as they were.
#include "zintara/core/flash_list.h"

#include "form_support.h"

#include "zintara/framework/exceptions.h"

#include <cstdlib>

namespace {

void CheckUnchanged(const std::wstring& Name, zn::TMemoryStream& Bytes) {
    if (Name != L"before" || zn::fuzz::Contents(Bytes) != "kept") std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    zn::TMemoryStream Input;
    zn::fuzz::Load(Input, std::string(reinterpret_cast<const char*>(Data), Size));
    std::wstring Name = L"before";
    zn::TMemoryStream Bytes;
    zn::fuzz::Load(Bytes, "kept");
    try {
        if (!zn::ReadFlashBlock(Input, Name, Bytes)) {
            CheckUnchanged(Name, Bytes);
            return 0;
        }
    } catch (const zn::EReadError&) {
        CheckUnchanged(Name, Bytes);
        return 0;
    }
    zn::TMemoryStream Output;
    zn::WriteFlashBlock(Output, Name, Bytes);
    Output.SetPosition(0);
    std::wstring Again;
    zn::TMemoryStream AgainBytes;
    const bool Read = zn::ReadFlashBlock(Output, Again, AgainBytes);
    // An item without bytes is stored as the single byte 0, without its name.
    if (Bytes.Size() != 0 && (!Read || Again != Name || zn::fuzz::Contents(AgainBytes) != zn::fuzz::Contents(Bytes)))
        std::abort();
    return 0;
}
