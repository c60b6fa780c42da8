// The local-file test every host applies before it hands a file to its player: the path names
// an existing file (not a folder), and the file opens for reading.
#pragma once

#include "zintara/framework/streams.h"

#include <memory>
#include <string>

namespace zn {

bool IsExistingFile(const std::wstring& Path);

// The file at Path opened for reading, others may read it too; null when Path names no file or
// the file cannot be opened.
std::unique_ptr<TStream> OpenExistingFile(const std::wstring& Path);

} // namespace zn
