// Writes what the independent player's check loads into a folder: write_check_movies FOLDER
// - video_check.swf, the sample video in a check movie of its own;
// - playback_<skin>.swf for each skin, the host movie that hands the built-in playback movie
//   that skin, volume 80 and the sample video;
// - skins.json, each skin's name and the colours that tell it apart.
#include <cstdio>
#include <fstream>
#include <string>

#include "builtin_movies.h"
#include "check_movies.h"
#include "znswf/movie_writer.h"

namespace {

std::string Colour(const zn::swf::Rgba& colour)
{
    return "[" + std::to_string(colour.red) + ", " + std::to_string(colour.green) + ", " +
           std::to_string(colour.blue) + ", " + std::to_string(colour.alpha) + "]";
}

std::string SkinsJson()
{
    std::string json = "[\n";
    for (zn::movies::SkinTheme theme : zn::movies::SkinThemes) {
        zn::movies::SkinColors colours = zn::movies::ColorsOf(theme);
        json += std::string(json.size() > 2 ? ",\n" : "") + "  {\"name\": \"" +
                zn::movies::SkinName(theme) + "\", \"bar\": " + Colour(colours.bar) +
                ", \"icon\": " + Colour(colours.icon) + "}";
    }
    return json + "\n]\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_check_movies FOLDER\n");
        return 2;
    }
    std::string folder = std::string(argv[1]) + "/";
    bool ok = zn::swf::WriteFile(folder + "video_check.swf", zn::test::VideoCheckMovie());
    for (zn::movies::SkinTheme theme : zn::movies::SkinThemes) {
        std::string skin = zn::movies::SkinName(theme);
        ok = ok && zn::swf::WriteFile(folder + "playback_" + skin + ".swf",
                                      zn::test::PlaybackHostMovie(skin + ".swf"));
    }
    std::string json = SkinsJson();
    ok = ok &&
         zn::swf::WriteFile(folder + "skins.json", std::vector<uint8_t>(json.begin(), json.end()));
    if (!ok)
        std::fprintf(stderr, "write_check_movies: cannot write into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
