// The shift states of mouse and key messages.
#include "zintara/framework/control_types.h"

namespace zn {

TShiftState KeysToShiftState(WPARAM Keys)
{
    TShiftState shift;
    if (Keys & MK_SHIFT)
        shift.Include(ssShift);
    if (Keys & MK_CONTROL)
        shift.Include(ssCtrl);
    if (Keys & MK_LBUTTON)
        shift.Include(ssLeft);
    if (Keys & MK_RBUTTON)
        shift.Include(ssRight);
    if (Keys & MK_MBUTTON)
        shift.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        shift.Include(ssAlt);
    return shift;
}

TShiftState KeyDataToShiftState(LPARAM KeyData)
{
    // The context bit of the key data says whether Alt was down.
    constexpr LPARAM alt_mask = 0x20000000;
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0)
        shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        shift.Include(ssCtrl);
    if (KeyData & alt_mask)
        shift.Include(ssAlt);
    return shift;
}

} // namespace zn
