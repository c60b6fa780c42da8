// Device context helpers shared by the painting code.
#pragma once

#include <windows.h>

namespace zn {

// Moves the logical origin so that what is drawn at (0, 0) lands (DX, DY) further on.
inline void MoveWindowOrg(HDC DC, int DX, int DY)
{
    POINT origin{};
    GetWindowOrgEx(DC, &origin);
    SetWindowOrgEx(DC, origin.x - DX, origin.y - DY, nullptr);
}

} // namespace zn
