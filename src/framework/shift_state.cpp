// The shift states of mouse and key messages.
#include "zintara/framework/control_types.h"

namespace zn {

TShiftState KeysToShiftState(WPARAM Keys) {
    TShiftState Shift;
    if (Keys & MK_SHIFT) Shift.Include(ssShift);
    if (Keys & MK_CONTROL) Shift.Include(ssCtrl);
    if (Keys & MK_LBUTTON) Shift.Include(ssLeft);
    if (Keys & MK_RBUTTON) Shift.Include(ssRight);
    if (Keys & MK_MBUTTON) Shift.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) Shift.Include(ssAlt);
    return Shift;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
    // The context bit of the key data says whether Alt was down.
    constexpr LPARAM AltMask = 0x20000000;
    TShiftState Shift;
    if (GetKeyState(VK_SHIFT) < 0) Shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) Shift.Include(ssCtrl);
    if (KeyData & AltMask) Shift.Include(ssAlt);
    return Shift;
}

} // namespace zn
