// Writes the sample movies and the sample video into a folder: swfgen FOLDER
#include <cstdio>
#include <fstream>
#include <string>

#include "sample_movies.h"
#include "sample_video.h"

namespace {

bool Write(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: swfgen FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    bool ok = Write(folder + "/sample.swf", zn::swf::samples::SampleMovie(false)) &&
              Write(folder + "/sample_compressed.swf", zn::swf::samples::SampleMovie(true)) &&
              Write(folder + "/button.swf", zn::swf::samples::ButtonMovie()) &&
              Write(folder + "/sample.flv", zn::swf::samples::SampleVideo());
    if (!ok)
        std::fprintf(stderr, "swfgen: cannot write into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
