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

bool StartsWithSignature(TStream& Stream) {
    std::int64_t Start = Stream.Position();
    char Signature[4] = {};
    std::size_t Got = Stream.Read(Signature, 4);
    Stream.SetPosition(Start);
    return Got == 4 && std::memcmp(Signature, "TPF0", 4) == 0;
}

} // namespace

void WriteComponentToStream(TStream& Stream, TComponent& Root, TFormFormat Format) {
    if (Format == TFormFormat::Binary) {
        TWriter(Stream).WriteDescendent(Root);
        return;
    }
    TMemoryStream Binary;
    TWriter(Binary).WriteDescendent(Root);
    Binary.SetPosition(0);
    ObjectBinaryToText(Binary, Stream);
}

void WriteComponentToFile(const std::wstring& FileName, TComponent& Root, TFormFormat Format) {
    // Written in memory first, so that a failure leaves an existing file as it was.
    TMemoryStream Form;
    WriteComponentToStream(Form, Root, Format);
    Form.SaveToFile(FileName);
}

TComponent* ReadComponentFromStream(TStream& Stream, TComponent* Root) {
    if (StartsWithSignature(Stream)) return TReader(Stream).ReadRootComponent(Root);
    TMemoryStream Binary;
    ObjectTextToBinary(Stream, Binary);
    Binary.SetPosition(0);
    return TReader(Binary).ReadRootComponent(Root);
}

TComponent* ReadComponentFromFile(const std::wstring& FileName, TComponent* Root) {
    TMemoryStream Form;
    Form.LoadFromFile(FileName);
    return ReadComponentFromStream(Form, Root);
}

TComponent* ReadComponentResource(void* Module, const std::wstring& ResourceName, TComponent* Root) {
    TResourceStream Form(Module, ResourceName);
    return ReadComponentFromStream(Form, Root);
}

} // namespace zn
