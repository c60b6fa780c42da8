// Form files as zinform reads and writes them: whole files through memory, the format told by
// the binary signature, the list components found among the root's components.
#pragma once

#include "zintara/core/flash_list.h"
#include "zintara/framework/form_io.h"

#include <memory>
#include <string>
#include <vector>

namespace zn::zinform {

struct TFormFile {
    std::unique_ptr<TComponent> Root;
    TFormFormat Format = TFormFormat::Binary;
};

bool FileExists(const std::wstring& FileName);
// Tells the formats apart by the binary signature at Form's position, which is kept.
TFormFormat FormatOf(TStream& Form);

// A missing file raises EFOpenError naming it; a file that is not a form the framework can
// read raises EReadError naming it.
TFormFile ReadFormFile(const std::wstring& FileName);

// Every list component in the tree below Root, depth first in component order.
std::vector<TznFlashList*> FlashListsOf(TComponent& Root);

// The part of a path after its last folder separator.
std::wstring FileNamePart(const std::wstring& Path);
// True when Text ends in Suffix, comparing A-Z in any case.
bool EndsWithText(const std::wstring& Text, const std::wstring& Suffix);

} // namespace zn::zinform
