// The driver's control as the reference control's test controls name it.
#pragma once

#include "zintara/zn_driver_activex.h"

namespace zn::test {

// The control's identity: the IUnknown its QueryInterface answers.
inline void* ControlIdentity(TznFlashDriverActiveX& Driver)
{
    IUnknown* identity = nullptr;
    Driver.ControlInterface()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    identity->Release();
    return identity;
}

} // namespace zn::test
