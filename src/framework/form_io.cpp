// The form helpers: the writer or reader over a stream, with the text form converted through
// a memory stream.
#include "zintara/framework/form_io.h"

#include "zintara/framework/file_stream.h"
#include "zintara/framework/filer.h"
#include "zintara/framework/form_text.h"
#include "zintara/framework/resource_stream.h"

#include <cstring>

namespace zn {

namespace {

bool StartsWithSignature(TStream& Stream)
{
    std::int64_t start = Stream.Position();
    char signature[4] = {};
    std::size_t got = Stream.Read(signature, 4);
    Stream.SetPosition(start);
    return got == 4 && std::memcmp(signature, "TPF0", 4) == 0;
}

} // namespace

void WriteComponentToStream(TStream& Stream, TComponent& Root, TFormFormat Format)
{
    if (Format == TFormFormat::Binary) {
        TWriter(Stream).WriteDescendent(Root);
        return;
    }
    TMemoryStream binary;
    TWriter(binary).WriteDescendent(Root);
    binary.SetPosition(0);
    ObjectBinaryToText(binary, Stream);
}

void WriteComponentToFile(const std::wstring& FileName, TComponent& Root, TFormFormat Format)
{
    // Written in memory first, so that a failure leaves an existing file as it was.
    TMemoryStream form;
    WriteComponentToStream(form, Root, Format);
    form.SaveToFile(FileName);
}

TComponent* ReadComponentFromStream(TStream& Stream, TComponent* Root)
{
    if (StartsWithSignature(Stream))
        return TReader(Stream).ReadRootComponent(Root);
    TMemoryStream binary;
    ObjectTextToBinary(Stream, binary);
    binary.SetPosition(0);
    return TReader(binary).ReadRootComponent(Root);
}

TComponent* ReadComponentFromFile(const std::wstring& FileName, TComponent* Root)
{
    TMemoryStream form;
    form.LoadFromFile(FileName);
    return ReadComponentFromStream(form, Root);
}

TComponent* ReadComponentResource(void* Module, const std::wstring& ResourceName, TComponent* Root)
{
    TResourceStream form(Module, ResourceName);
    return ReadComponentFromStream(form, Root);
}

} // namespace zn
