// The process-wide identifier table (see identifiers.h).
#include "identifiers.h"

#include <string>
#include <unordered_set>

namespace zn::netscape {
namespace {

struct TIdentifierTable {
    // Nodes of an unordered set keep their address when the set rehashes.
    std::unordered_set<std::string> Names;
    std::unordered_set<const void*> Addresses;
};

// Never destroyed: the plug-in may use identifiers until it is unloaded, which can happen after
// the destructors of other static objects have run.
TIdentifierTable& Table()
{
    static TIdentifierTable* table = new TIdentifierTable;
    return *table;
}

} // namespace

const char* InternIdentifier(std::string_view Name)
{
    TIdentifierTable& table = Table();
    const char* identifier = table.Names.emplace(Name).first->c_str();
    table.Addresses.insert(identifier);
    return identifier;
}

bool IsInternedIdentifier(const void* Identifier)
{
    return Identifier && Table().Addresses.contains(Identifier);
}

} // namespace zn::netscape
