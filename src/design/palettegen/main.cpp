// Writes the palette bitmaps into a folder, one .bmp per component named after its class in
// lower case: palettegen FOLDER
#include "bitmap_file.h"
#include "pictures.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

using namespace zn::palettegen;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: palettegen FOLDER\n");
        return 2;
    }
    try {
        for (const TPaletteBitmap& each : PaletteBitmaps()) {
            const auto bytes = EncodeBitmap(
                each.Picture, each.BitsPerPixel == 4 ? StandardColors() : ColorsOf(each.Picture),
                each.BitsPerPixel);
            std::string name = each.Name;
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            const std::string path = std::string(argv[1]) + "/" + name + ".bmp";
            std::ofstream out(path, std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
            if (!out) {
                std::fprintf(stderr, "palettegen: cannot write %s\n", path.c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "palettegen: %s\n", e.what());
        return 1;
    }
    return 0;
}
