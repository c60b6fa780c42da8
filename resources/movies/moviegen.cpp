// Writes the built-in playback movie and skins into a folder: moviegen FOLDER
#include <cstdio>
#include <string>

#include "builtin_movies.h"
#include "znswf/movie_writer.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: moviegen FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    using zn::swf::WriteFile;
    bool ok = WriteFile(folder + "/flvplayback.swf", zn::movies::PlaybackMovie());
    for (zn::movies::SkinTheme theme : zn::movies::SkinThemes)
        ok = ok && WriteFile(folder + "/" + zn::movies::SkinName(theme) + ".swf",
                             zn::movies::SkinMovie(theme));
    if (!ok)
        std::fprintf(stderr, "moviegen: cannot write into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
