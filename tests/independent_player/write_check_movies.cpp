// Writes the independent player's check movies into a folder: write_check_movies FOLDER
#include <cstdio>
#include <fstream>
#include <string>

#include "check_movies.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_check_movies FOLDER\n");
        return 2;
    }
    std::string path = std::string(argv[1]) + "/video_check.swf";
    std::vector<uint8_t> bytes = zn::test::VideoCheckMovie();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "write_check_movies: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
