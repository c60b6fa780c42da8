// TScreen: the display's resolution and size, and the forms that exist.
#include "zintara/framework/forms.h"

#include "zintara/framework/exceptions.h"

namespace zn {

const TClassInfo& TScreen::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TScreen, TComponent>(L"TScreen");
    return info;
}
const TClassInfo& TScreen::ClassType() const
{
    return ClassInfo();
}

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner)
{
    if (const TWindowDC dc = WindowDC(nullptr))
        FPixelsPerInch = GetDeviceCaps(dc.get().Value, LOGPIXELSY);
}

int TScreen::Width() const
{
    return GetSystemMetrics(SM_CXSCREEN);
}
int TScreen::Height() const
{
    return GetSystemMetrics(SM_CYSCREEN);
}

TCustomForm* TScreen::Forms(int Index) const
{
    if (Index < 0 || Index >= FormCount())
        throw EListError(L"Form index out of bounds (" + std::to_wstring(Index) + L")");
    return FForms[static_cast<size_t>(Index)];
}

TScreen& Screen()
{
    static TScreen instance(nullptr);
    return instance;
}

} // namespace zn
