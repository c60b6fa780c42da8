// Detection of the Flash control and driver selection in a process of their own (detection runs
// once per process). With the argument "absent" the control is denied to this process, as on a
// machine without it; with "present" the control registered in the prefix answers. Prints one
// line per finding, "name=value", for the test to read; the exit code is 0 unless the probe
// itself failed.
#include "support/absent_control.h"
#include "support/reference_control_exports.h"
#include "zintara/zn_driver_activex.h"
#include "zintara/zn_flashplayer.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

namespace {

struct TPaintCount {
    int Count = 0;
    void Paint(zn::TObject*, const zn::TRect&) { ++Count; }
};

// The class ChangePlugin picks for Plugin, with no plug-in beside the probe.
std::wstring Choice(zn::TznPlugin Plugin)
{
    std::unique_ptr<zn::TznFlashDriver> chosen;
    zn::ChangePlugin(chosen, Plugin, L"", 20, 20, 0, nullptr, {}, {}, {}, {});
    return chosen->ClassName();
}

// How many lines of the control's log begin with Call.
int Count(const std::vector<std::string>& Log, const std::string& Call)
{
    int count = 0;
    for (const std::string& line : Log)
        count += line.starts_with(Call + " ") ? 1 : 0;
    return count;
}

void ProbeAbsent()
{
    {
        zn::TznFlashDriverActiveX driver(40, 30, 0);
        TPaintCount painted;
        driver.SetOnPaint(zn::TznPaintEvent::Bind<&TPaintCount::Paint>(&painted));
        driver.LoadMovie(L"movie.swf");
        driver.Play();
        std::uint16_t key = 'A';
        driver.KeyDown(key, {});
        driver.ForceUpdate();
        std::printf("available=%d\n", driver.GetIsFlashAvailable() ? 1 : 0);
        std::printf("interface=%d\n", driver.ControlInterface() != nullptr ? 1 : 0);
        std::printf("frames=%d variable=\"%ls\" key=%u\n", driver.GetTotalFrames(),
                    driver.GetVariable(L"x").c_str(), key);
        std::printf("paints=%d instances=%d\n", painted.Count, zn::FlashControlData.InstanceCount);
    }
    std::printf("instances_after=%d\n", zn::FlashControlData.InstanceCount);
}

void ProbePresent()
{
    const std::vector<std::string> log =
        zn::test::TakeLines(zn::test::ReferenceControlExports().TakeLog);
    std::printf("created=%d released=%d\n", Count(log, "IClassFactory.CreateInstance"),
                Count(log, "Control.FinalRelease"));
}

} // namespace

int main(int argc, char** argv)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 10;
    const bool present = argc > 1 && std::string(argv[1]) == "present";
    std::optional<zn::test::TAbsentControl> absent;
    if (!present && FAILED(absent.emplace(zn::CLASS_znFlashPlayer).Result()))
        return 11;

    zn::CheckFlashPlugins();
    zn::CheckFlashPlugins();
    if (present)
        ProbePresent();
    std::printf("exists=%d\n", zn::TznFlashDriverActiveX::PluginExists() ? 1 : 0);
    std::printf("default=%ls\n", zn::DefaultFlashDriverClass.Create(1, 1, 0)->ClassName().c_str());
    if (!present)
        ProbeAbsent();
    std::printf("choices=%ls %ls %ls\n", Choice(zn::znDefault).c_str(),
                Choice(zn::znNetscape).c_str(), Choice(zn::znActiveX).c_str());
    absent.reset();
    CoUninitialize();
    return 0;
}
