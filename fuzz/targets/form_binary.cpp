// A binary form from any bytes, read whole through the class registry into components; what
// was read must write back, read again and write back the same. The same bytes also go through
// the byte layer alone, into the text form, which must convert back to the same text.
#include "form_components.h"
#include "form_support.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/filer.h"

#include <cstdlib>
#include <memory>

namespace {

std::string Written(zn::TComponent& Root)
{
    zn::TMemoryStream stream;
    zn::TWriter(stream).WriteDescendent(Root);
    return zn::fuzz::Contents(stream);
}

std::unique_ptr<zn::TComponent> Read(const std::string& Form)
{
    zn::TMemoryStream stream;
    zn::fuzz::Load(stream, Form);
    return std::unique_ptr<zn::TComponent>(zn::TReader(stream).ReadRootComponent(nullptr));
}

void CheckComponents(const std::string& Input)
{
    std::unique_ptr<zn::TComponent> root;
    try {
        root = Read(Input);
    } catch (const zn::Exception&) {
        return;
    }
    const std::string form = Written(*root);
    if (Written(*Read(form)) != form)
        std::abort();
}

void CheckByteLayer(const std::string& Input)
{
    std::string text;
    try {
        text = zn::fuzz::BinaryToText(Input);
    } catch (const zn::Exception&) {
        return;
    }
    if (zn::fuzz::BinaryToText(zn::fuzz::TextToBinary(text)) != text)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    zn::fuzz::RegisterFuzzClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::string input(reinterpret_cast<const char*>(Data), Size);
    CheckComponents(input);
    CheckByteLayer(input);
    return 0;
}
