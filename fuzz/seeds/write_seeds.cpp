// Writes the starting corpus of every fuzz target into <dir>/<target>/, made by the project's
// own writers: movies by the engine's writer, XML by its encoder, forms by the form writer.
// Texts that no writer of ours produces (the names and scripts a movie hands over) are the
// shapes the unit suites use.
#include "seed_writers.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void WriteCorpus(const std::filesystem::path& Directory, const zn::fuzz::TSeeds& Seeds)
{
    std::filesystem::create_directories(Directory);
    int number = 0;
    for (const std::string& seed : Seeds) {
        std::ofstream file(Directory / ("seed" + std::to_string(number++)), std::ios::binary);
        file.write(seed.data(), static_cast<std::streamsize>(seed.size()));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const auto& [target, seeds] : zn::fuzz::AllSeeds())
        WriteCorpus(root / target, seeds);
    return 0;
}
