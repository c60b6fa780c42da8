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

std::string Written(zn::TComponent& Root) {
    zn::TMemoryStream Stream;
    zn::TWriter(Stream).WriteDescendent(Root);
    return zn::fuzz::Contents(Stream);
}

std::unique_ptr<zn::TComponent> Read(const std::string& Form) {
    zn::TMemoryStream Stream;
    zn::fuzz::Load(Stream, Form);
    return std::unique_ptr<zn::TComponent>(zn::TReader(Stream).ReadRootComponent(nullptr));
}

void CheckComponents(const std::string& Input) {
    std::unique_ptr<zn::TComponent> Root;
    try {
        Root = Read(Input);
    } catch (const zn::Exception&) {
        return;
    }
    const std::string Form = Written(*Root);
    if (Written(*Read(Form)) != Form) std::abort();
}

void CheckByteLayer(const std::string& Input) {
    std::string Text;
    try {
        Text = zn::fuzz::BinaryToText(Input);
    } catch (const zn::Exception&) {
        return;
    }
    if (zn::fuzz::BinaryToText(zn::fuzz::TextToBinary(Text)) != Text) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zn::fuzz::RegisterFuzzClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Input(reinterpret_cast<const char*>(Data), Size);
    CheckComponents(Input);
    CheckByteLayer(Input);
    return 0;
}
