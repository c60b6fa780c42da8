// Which driver a component gets: the driver class reference, the process-wide default, the two
// Flash host slots, and ChangePlugin, the one routine that replaces a component's driver. This
// layer sits above the drivers, the only one that names them.
#pragma once

#include "zintara/core/flash_driver.h"
#include "zintara/core/flash_types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

namespace zn {

class TControl;

// A driver class as a value: whether its host is installed, and its constructor.
class TznFlashDriverClass {
public:
    template <class TDriver>
    static constexpr TznFlashDriverClass Of() noexcept
    {
        static_assert(std::is_base_of_v<TznFlashDriver, TDriver>, "a driver class");
        return TznFlashDriverClass(&TDriver::PluginExists, &Construct<TDriver>);
    }

    bool PluginExists() const { return FPluginExists(); }
    std::unique_ptr<TznFlashDriver> Create(int AWidth, int AHeight, std::uint32_t ABackground) const
    {
        return FCreate(AWidth, AHeight, ABackground);
    }

    constexpr bool operator==(const TznFlashDriverClass&) const noexcept = default;

private:
    using TPluginExists = bool (*)();
    using TCreate = std::unique_ptr<TznFlashDriver> (*)(int, int, std::uint32_t);

    constexpr TznFlashDriverClass(TPluginExists APluginExists, TCreate ACreate) noexcept
        : FPluginExists(APluginExists), FCreate(ACreate)
    {}

    template <class TDriver>
    static std::unique_ptr<TznFlashDriver> Construct(int AWidth, int AHeight,
                                                     std::uint32_t ABackground)
    {
        return std::make_unique<TDriver>(AWidth, AHeight, ABackground);
    }

    TPluginExists FPluginExists;
    TCreate FCreate;
};

// The class tried first for znDefault. Initially the null driver; CheckFlashPlugins makes the
// ActiveX driver the default once, on its first call, when the control can be created. An
// application may assign any driver class; an assignment after the first component was
// constructed stays.
extern TznFlashDriverClass DefaultFlashDriverClass;

// The drivers of the two Flash hosts, as selection sees them (flash_hosts.cpp names them); an
// application or a test may assign others. CheckFlashPlugins asks the ActiveX slot's PluginExists, so that is where
// the ActiveX driver runs its one-time probe of the control.
extern TznFlashDriverClass NetscapeFlashDriverClass;
extern TznFlashDriverClass ActiveXFlashDriverClass;

// Runs the one-time host detection before the first driver is created: on the first call in the
// process, makes the ActiveX driver the default when its host is installed. Every component
// constructor calls it first.
void CheckFlashPlugins();

// Replaces a component's driver: frees the old one (ADriver is empty from then on, also when the
// new driver's constructor throws), constructs the class the rules choose from APlugin and the
// installed hosts, wires the component's parent and callbacks into it, erases the whole new
// buffer through AOnEraseBackground with (0, 0, AWidth, AHeight) as given, loads AMovie (also an
// empty name) and invalidates AParent. The rules, first match wins:
//   1. znDefault and DefaultFlashDriverClass's host installed: DefaultFlashDriverClass.
//   2. znActiveX and the ActiveX host installed: the ActiveX driver.
//   3. the ActiveX host installed and the Netscape host not: the ActiveX driver.
//   4. the Netscape host installed: the Netscape driver.
//   5. otherwise the null driver.
// AMovie is taken by value: the caller may pass a string the old driver owns.
void ChangePlugin(std::unique_ptr<TznFlashDriver>& ADriver, TznPlugin APlugin, std::wstring AMovie,
                  int AWidth, int AHeight, std::uint32_t ABackground, TControl* AParent,
                  TznPaintEvent AOnPaint, TznEraseBackgroundEvent AOnEraseBackground,
                  TznFSCommandEvent AOnFSCommand, TznFlashCallEvent AOnFlashCall);

} // namespace zn
