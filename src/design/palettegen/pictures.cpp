// What each palette picture shows: the embedded files as a stack of documents, the graphic
// player as a movie outlined the way a windowless control is, the windowed player as a window
// playing, the non-visual player as a bitmap with an alpha channel, the layer as a round,
// see-through window over the desktop.
#include "pictures.h"

namespace zn::palettegen {

namespace {

constexpr TRgb Black = 0x000000, Maroon = 0x800000, Navy = 0x000080, Silver = 0xC0C0C0,
               Gray = 0x808080, Red = 0xFF0000, Yellow = 0xFFFF00, Blue = 0x0000FF,
               Fuchsia = 0xFF00FF, White = 0xFFFFFF;
// What palettes leave out: no picture draws with it.
constexpr TRgb Transparent = Fuchsia;
constexpr int Last = PictureSize - 1;

// A document with its top-right corner folded down; what lies behind shows past the fold.
void Document(TCanvas& Picture, int Left, int Top, int Right, int Bottom)
{
    constexpr int fold = 3;
    for (int y = Top; y <= Bottom; ++y)
        Picture.Fill(Left, y, y < Top + fold ? Right - fold + (y - Top) : Right, y, White);
    Picture.Line(Left, Top, Right - fold, Top, Black);
    Picture.Line(Right - fold, Top, Right, Top + fold, Black);
    Picture.Line(Right, Top + fold, Right, Bottom, Black);
    Picture.Line(Left, Bottom, Right, Bottom, Black);
    Picture.Line(Left, Top, Left, Bottom, Black);
    Picture.Line(Right - fold, Top + 1, Right - fold, Top + fold, Gray);
    Picture.Line(Right - fold, Top + fold, Right - 1, Top + fold, Gray);
}

TCanvas FlashList()
{
    TCanvas picture(PictureSize, PictureSize, Transparent);
    Document(picture, 10, 1, 21, 14);
    Document(picture, 6, 4, 17, 17);
    Document(picture, 2, 8, 13, 22);
    // The front document is a movie: a play button, and the rest of its text.
    picture.Fill(4, 11, 11, 17, Red);
    picture.PlayTriangle(6, 12, 5, White);
    picture.Line(4, 19, 11, 19, Gray);
    picture.Line(4, 21, 9, 21, Gray);
    // The list itself: a bar of entries beside the stack.
    for (int y = 17; y <= 21; y += 2)
        picture.Line(16, y, 21, y, Navy);
    return picture;
}

TCanvas FlashPlayer()
{
    TCanvas picture(PictureSize, PictureSize, Transparent);
    picture.DottedFrame(0, 1, Last, Last - 1, Black);
    // The movie draws straight onto the parent, so the stage shows the parent's colour around
    // a picture with a red button.
    picture.Fill(2, 3, Last - 2, Last - 3, Silver);
    picture.Disc(12, 12, 7, Maroon, false);
    picture.Disc(11.5, 11.5, 6, Red, false);
    picture.PlayTriangle(10, 8, 8, White);
    picture.Line(3, 19, 20, 19, Yellow);
    picture.Line(3, 19, 8, 19, Blue);
    return picture;
}

TCanvas FlashPlayerWnd()
{
    TCanvas picture(PictureSize, PictureSize, Transparent);
    picture.Fill(0, 1, Last, Last - 1, Silver);
    picture.Frame(0, 1, Last, Last - 1, 0x404040);
    picture.VerticalGradient(1, 2, Last - 1, 5, 0x3070E0, 0x0A246A);
    picture.Fill(Last - 4, 3, Last - 2, 4, Silver);
    picture.VerticalGradient(2, 7, Last - 2, Last - 3, 0x202030, 0x000008);
    picture.Disc(12, 14, 6.5, 0xFF5020, true);
    picture.Disc(11, 13, 3.5, 0xFFA060, true);
    picture.PlayTriangle(10, 11, 7, White);
    return picture;
}

TCanvas FlashPlayerComp()
{
    TCanvas picture(PictureSize, PictureSize, Transparent);
    // The buffer's alpha shows as the checkerboard a transparent image is drawn over.
    for (int y = 2; y <= Last - 2; ++y)
        for (int x = 2; x <= Last - 2; ++x)
            picture.Pixel(x, y, ((x - 2) / 4 + (y - 2) / 4) % 2 ? 0xFFFFFF : 0xB8B8B8);
    for (int y = 4; y <= 19; ++y)
        for (int x = 4; x <= 19; ++x)
            picture.Blend(x, y, Mix(0xFF2060, 0xFFB000, (x + y - 8) / 30.0), 0.8);
    picture.PlayTriangle(9, 8, 9, White);
    picture.Frame(1, 1, Last - 1, Last - 1, 0x303030);
    // Rows read out one by one: an arrow leaving the buffer.
    picture.Line(17, 21, 22, 21, 0x008000);
    picture.Line(20, 19, 22, 21, 0x008000);
    picture.Line(20, 23, 22, 21, 0x008000);
    return picture;
}

TCanvas FlashLayer()
{
    TCanvas picture(PictureSize, PictureSize, Transparent);
    // The desktop behind, and a window of some other program.
    picture.VerticalGradient(0, 1, Last, Last - 1, 0x4080C0, 0x205080);
    picture.Fill(1, 2, 12, 12, 0xE0E0E0);
    picture.VerticalGradient(1, 2, 12, 4, 0x2050C0, 0x103080);
    // The layer: a round shape with soft edges, faded so that both show through.
    picture.Disc(14, 14, 8.5, 0x000000, true);
    picture.Disc(13, 13, 8.5, 0xFF8020, true);
    for (int y = 0; y < PictureSize; ++y)
        for (int x = 0; x < PictureSize; ++x)
            if ((x - 13) * (x - 13) + (y - 13) * (y - 13) < 36)
                picture.Blend(x, y, 0xFFD040, 0.5);
    picture.PlayTriangle(11, 10, 7, White);
    return picture;
}

} // namespace

const std::vector<TRgb>& StandardColors()
{
    static const std::vector<TRgb> colors = {
        Black, Maroon, 0x008000, 0x808000, Navy, 0x800080, 0x008080, Silver,
        Gray,  Red,    0x00FF00, Yellow,   Blue, Fuchsia,  0x00FFFF, White};
    return colors;
}

std::vector<TPaletteBitmap> PaletteBitmaps()
{
    return {{"TZNFLASHLIST", 4, FlashList()},
            {"TZNFLASHPLAYER", 4, FlashPlayer()},
            {"TZNFLASHPLAYERWND", 8, FlashPlayerWnd()},
            {"TZNFLASHPLAYERCOMP", 8, FlashPlayerComp()},
            {"TZNFLASHLAYER", 8, FlashLayer()}};
}

} // namespace zn::palettegen
