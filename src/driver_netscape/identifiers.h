// Interned script identifiers. NPAPI promises that two identifiers of the same name are the same
// pointer, and a plug-in may pass a temporary buffer for the name; so every name is copied once
// into storage the host owns, and the same text always yields the same pointer, valid for the
// life of the process. The host's own method and property names go through the same table, so
// the plug-in can compare them with the identifiers it obtained itself.
//
// Plain C++, no Windows header. One user-interface thread: no lock.
#pragma once

#include <string_view>

namespace zn::netscape {

// The identifier of Name: a zero-terminated copy owned by the table.
const char* InternIdentifier(std::string_view Name);

// Whether Identifier came from InternIdentifier; anything else the plug-in passes is not a name
// this host can read.
bool IsInternedIdentifier(const void* Identifier);

} // namespace zn::netscape
