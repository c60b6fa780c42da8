// The starting corpus of each fuzz target, by target name.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace zn::fuzz {

using TSeeds = std::vector<std::string>;

std::map<std::string, TSeeds> AllSeeds();

} // namespace zn::fuzz
