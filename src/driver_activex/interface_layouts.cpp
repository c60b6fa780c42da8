// Compile-time checks of the interface layouts the driver relies on, against the SDK's own
// method tables (declared as plain records when CINTERFACE is defined): the control's dual
// interface begins as IDispatch does, and every SDK method the driver calls on the control sits
// at its published position.
#define CINTERFACE
#include "zintara/driver_activex/flash_interfaces.h"

#include <ocidl.h>
#include <oleidl.h>

#include <cstddef>

namespace {

constexpr std::size_t Slot(std::size_t Index)
{
    return Index * sizeof(void*);
}

} // namespace

static_assert(offsetof(zn::TIznFlashPlayerVtbl, QueryInterface) ==
              offsetof(IDispatchVtbl, QueryInterface));
static_assert(offsetof(zn::TIznFlashPlayerVtbl, Release) == offsetof(IDispatchVtbl, Release));
static_assert(offsetof(zn::TIznFlashPlayerVtbl, GetIDsOfNames) ==
              offsetof(IDispatchVtbl, GetIDsOfNames));
static_assert(offsetof(zn::TIznFlashPlayerVtbl, Invoke) == offsetof(IDispatchVtbl, Invoke));
static_assert(offsetof(zn::TIznFlashPlayerVtbl, get_ReadyState) == sizeof(IDispatchVtbl));

static_assert(offsetof(IOleObjectVtbl, SetClientSite) == Slot(3));
static_assert(offsetof(IOleObjectVtbl, GetClientSite) == Slot(4));
static_assert(offsetof(IOleObjectVtbl, Close) == Slot(6));
static_assert(offsetof(IOleObjectVtbl, DoVerb) == Slot(11));
static_assert(offsetof(IOleObjectVtbl, GetMiscStatus) == Slot(22));
static_assert(offsetof(IPersistStreamInitVtbl, InitNew) == Slot(8));
static_assert(offsetof(IOleControlVtbl, OnAmbientPropertyChange) == Slot(5));
static_assert(offsetof(IConnectionPointContainerVtbl, FindConnectionPoint) == Slot(4));
static_assert(offsetof(IConnectionPointVtbl, Advise) == Slot(5));
static_assert(offsetof(IConnectionPointVtbl, Unadvise) == Slot(6));
static_assert(offsetof(IViewObjectVtbl, Draw) == Slot(3));
static_assert(offsetof(IOleInPlaceObjectVtbl, UIDeactivate) == Slot(6));
static_assert(offsetof(IOleInPlaceObjectVtbl, SetObjectRects) == Slot(7));
static_assert(offsetof(IOleInPlaceObjectWindowlessVtbl, SetObjectRects) == Slot(7));
static_assert(offsetof(IOleInPlaceObjectWindowlessVtbl, OnWindowMessage) == Slot(9));
static_assert(offsetof(IDispatchVtbl, Invoke) == Slot(6));
