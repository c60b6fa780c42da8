// The control's library: its module handle, the live controls, the locks that keep it loaded,
// the version new controls report and its type libraries.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstddef>
#include <string>

namespace zn::ax {

class Control;

HINSTANCE ModuleInstance();
std::wstring ModulePath();

void ControlCreated(Control& control);
void ControlDestroyed(Control& control);
// The live control whose identity (its IUnknown, also its IOleObject) this is, or null.
Control* FindLiveControl(const void* identity);
std::size_t LiveControlCount();

void LockModule();
void UnlockModule();
bool ModuleInUse();

// The major version the controls created from now on report; 10 unless a test set another.
int& VersionForNewControls();
inline constexpr int kDefaultMajorVersion = 10;
// What GetMiscStatus answers and the registration records: the site comes before InitNew.
inline constexpr DWORD kMiscStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT |
                                     OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_CANTLINKINSIDE |
                                     OLEMISC_RECOMPOSEONRESIZE;
// Controls before this version have the shorter interface of the older type library.
inline constexpr int kFirstVersionWithCallFunction = 8;

// The type information of the dual interface as the controls of that major version describe it,
// the interface kind (TKIND_INTERFACE) when Interface, else the dispatch kind; with a reference.
HRESULT DualInterfaceInfo(int major, bool Interface, ITypeInfo** info);

} // namespace zn::ax
