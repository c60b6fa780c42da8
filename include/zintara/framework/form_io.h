// Writing a component tree to a stream or file and reading it back, in the binary or the
// text form; the reader tells the two apart by the binary signature.
#pragma once

#include "zintara/framework/component.h"
#include "zintara/framework/streams.h"

#include <string>

namespace zn {

enum class TFormFormat { Binary, Text };

void WriteComponentToStream(TStream& Stream, TComponent& Root,
                            TFormFormat Format = TFormFormat::Binary);
void WriteComponentToFile(const std::wstring& FileName, TComponent& Root,
                          TFormFormat Format = TFormFormat::Binary);

// Fills Root or, when it is null, creates the root of the class the form names (which must be
// registered); the caller owns a created root. See TReader::ReadRootComponent for failures.
TComponent* ReadComponentFromStream(TStream& Stream, TComponent* Root);
TComponent* ReadComponentFromFile(const std::wstring& FileName, TComponent* Root);
// From an RT_RCDATA resource of Module (an HMODULE; null for the executable).
TComponent* ReadComponentResource(void* Module, const std::wstring& ResourceName, TComponent* Root);

} // namespace zn
