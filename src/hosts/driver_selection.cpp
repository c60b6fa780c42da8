// Choosing, constructing and wiring a component's driver.
#include "zintara/hosts/driver_selection.h"

#include "zintara/framework/controls.h"

namespace zn {

constinit TznFlashDriverClass DefaultFlashDriverClass = TznFlashDriverClass::Of<TznFlashDriver>();

namespace {

TznFlashDriverClass ChooseDriverClass(TznPlugin APlugin)
{
    // Each host is asked afresh: availability is the host's own process-wide fact.
    if (APlugin == znDefault && DefaultFlashDriverClass.PluginExists())
        return DefaultFlashDriverClass;
    const bool active_x = ActiveXFlashDriverClass.PluginExists();
    if (APlugin == znActiveX && active_x)
        return ActiveXFlashDriverClass;
    const bool netscape = NetscapeFlashDriverClass.PluginExists();
    if (active_x && !netscape)
        return ActiveXFlashDriverClass;
    if (netscape)
        return NetscapeFlashDriverClass;
    return TznFlashDriverClass::Of<TznFlashDriver>();
}

} // namespace

void CheckFlashPlugins()
{
    static bool checked = false;
    if (checked)
        return;
    // Set before asking: probing the host may re-enter through a component constructor.
    checked = true;
    if (ActiveXFlashDriverClass.PluginExists())
        DefaultFlashDriverClass = ActiveXFlashDriverClass;
}

void ChangePlugin(std::unique_ptr<TznFlashDriver>& ADriver, TznPlugin APlugin, std::wstring AMovie,
                  int AWidth, int AHeight, std::uint32_t ABackground, TControl* AParent,
                  TznPaintEvent AOnPaint, TznEraseBackgroundEvent AOnEraseBackground,
                  TznFSCommandEvent AOnFSCommand, TznFlashCallEvent AOnFlashCall)
{
    // reset() empties ADriver before the old driver's destructor runs, so neither that
    // destructor nor a failing constructor below leaves it naming a freed driver.
    ADriver.reset();
    ADriver = ChooseDriverClass(APlugin).Create(AWidth, AHeight, ABackground);

    TznFlashDriver& driver = *ADriver;
    driver.SetParentControl(AParent);
    driver.SetOnPaint(AOnPaint);
    driver.SetOnEraseBackground(AOnEraseBackground);
    driver.SetOnFSCommand(AOnFSCommand);
    driver.SetOnFlashCall(AOnFlashCall);

    if (AOnEraseBackground)
        AOnEraseBackground(&driver, TRect{0, 0, AWidth, AHeight});
    driver.LoadMovie(AMovie);
    if (AParent != nullptr)
        AParent->Invalidate();
}

} // namespace zn
