// A text form from any text: converted to the binary form, which must convert back to text
// that gives the same binary form again, and read through the class registry.
#include "form_components.h"
#include "form_support.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/filer.h"

#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    zn::fuzz::RegisterFuzzClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    std::string binary;
    try {
        binary = zn::fuzz::TextToBinary(std::string(reinterpret_cast<const char*>(Data), Size));
    } catch (const zn::Exception&) {
        return 0;
    }
    if (zn::fuzz::TextToBinary(zn::fuzz::BinaryToText(binary)) != binary)
        std::abort();

    zn::TMemoryStream stream;
    zn::fuzz::Load(stream, binary);
    try {
        std::unique_ptr<zn::TComponent>(zn::TReader(stream).ReadRootComponent(nullptr));
    } catch (const zn::Exception&) {
    }
    return 0;
}
