// Palette bitmaps from the resources of the module the library is linked into.
#include "zintara/framework/palette_bitmaps.h"

#include "zintara/framework/library_module.h"

namespace zn {

TDibSection LoadPaletteBitmap(const TClassInfo& ComponentClass)
{
    std::wstring name = ComponentClass.Name;
    for (wchar_t& each : name)
        if (each >= L'a' && each <= L'z')
            each = static_cast<wchar_t>(each - L'a' + L'A');
    return TDibSection(static_cast<HBITMAP>(
        LoadImageW(LibraryModule(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

} // namespace zn
