// The embedded-file block from any bytes: a block read must write back as the same name and
// bytes, and a failed read must leave the name and the bytes as they were.
#include "zintara/core/flash_list.h"

#include "form_support.h"

#include "zintara/framework/exceptions.h"

#include <cstdlib>

namespace {

void CheckUnchanged(const std::wstring& Name, zn::TMemoryStream& Bytes)
{
    if (Name != L"before" || zn::fuzz::Contents(Bytes) != "kept")
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    zn::TMemoryStream input;
    zn::fuzz::Load(input, std::string(reinterpret_cast<const char*>(Data), Size));
    std::wstring name = L"before";
    zn::TMemoryStream bytes;
    zn::fuzz::Load(bytes, "kept");
    try {
        if (!zn::ReadFlashBlock(input, name, bytes)) {
            CheckUnchanged(name, bytes);
            return 0;
        }
    } catch (const zn::EReadError&) {
        CheckUnchanged(name, bytes);
        return 0;
    }
    zn::TMemoryStream output;
    zn::WriteFlashBlock(output, name, bytes);
    output.SetPosition(0);
    std::wstring again;
    zn::TMemoryStream again_bytes;
    const bool read = zn::ReadFlashBlock(output, again, again_bytes);
    // An item without bytes is stored as the single byte 0, without its name.
    if (bytes.Size() != 0 &&
        (!read || again != name || zn::fuzz::Contents(again_bytes) != zn::fuzz::Contents(bytes)))
        std::abort();
    return 0;
}
