// Writes the sample movies and the sample video into a folder: swfgen FOLDER
#include <cstdio>
#include <string>

#include "sample_movies.h"
#include "sample_video.h"
#include "znswf/movie_writer.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: swfgen FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    using zn::swf::WriteFile;
    bool ok = WriteFile(folder + "/sample.swf", zn::swf::samples::SampleMovie(false)) &&
              WriteFile(folder + "/sample_compressed.swf", zn::swf::samples::SampleMovie(true)) &&
              WriteFile(folder + "/button.swf", zn::swf::samples::ButtonMovie()) &&
              WriteFile(folder + "/sample.flv", zn::swf::samples::SampleVideo());
    if (!ok)
        std::fprintf(stderr, "swfgen: cannot write into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
