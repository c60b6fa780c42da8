// Where the driver's buffer lies among the application's windows: the window the player may use
// as its host and the buffer's origin in it.
#include "zintara/core/flash_driver.h"

#include "zintara/framework/controls.h"

namespace zn {

HWND TznFlashDriver::GetParentHandle() const
{
    if (auto* windowed = dynamic_cast<TWinControl*>(FParentControl))
        return windowed->HandleAllocated() ? windowed->Handle() : nullptr;
    if (auto* graphic = dynamic_cast<TGraphicControl*>(FParentControl)) {
        TWinControl* parent = graphic->Parent();
        if (parent != nullptr && parent->HandleAllocated())
            return parent->Handle();
    }
    return nullptr;
}

TPoint TznFlashDriver::GetParentOffset() const
{
    // A graphic control's buffer is drawn at its place on the parent's window; a windowed
    // control's window starts where its buffer does.
    if (auto* graphic = dynamic_cast<TGraphicControl*>(FParentControl))
        return TPoint{graphic->Left(), graphic->Top()};
    return TPoint{0, 0};
}

} // namespace zn
