// Detection of the Flash control and driver selection in a process of their own (detection runs
// once per process). With the argument "refuse" a class object registered for the control's class
// in this process only refuses every instance; with "null" it answers success without one; with
// "present" the control registered in the prefix answers. Prints one line per finding,
// "name=value", for the test to read; the exit code is 0 unless the probe itself failed.
#include "support/reference_control_exports.h"
#include "zintara/zn_driver_activex.h"
#include "zintara/zn_flashplayer.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

class TRefusingFactory final : public IClassFactory {
public:
    explicit TRefusingFactory(bool AnswerNull) : FAnswerNull(AnswerNull) {}
    int Requests = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid != IID_IUnknown && riid != IID_IClassFactory) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** ppv) override
    {
        ++Requests;
        *ppv = nullptr;
        return FAnswerNull ? S_OK : CLASS_E_CLASSNOTAVAILABLE;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    bool FAnswerNull;
};

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

void ProbeAbsent(const TRefusingFactory& Factory)
{
    std::printf("requests=%d\n", Factory.Requests);
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
    std::printf("requests_after=%d\n", Factory.Requests);
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
    const std::string mode = argc > 1 ? argv[1] : "";
    TRefusingFactory factory(mode == "null");
    DWORD registration = 0;
    if (mode != "present" &&
        FAILED(CoRegisterClassObject(zn::CLASS_znFlashPlayer, &factory, CLSCTX_INPROC_SERVER,
                                     REGCLS_MULTIPLEUSE, &registration)))
        return 11;

    zn::CheckFlashPlugins();
    zn::CheckFlashPlugins();
    if (mode == "present")
        ProbePresent();
    std::printf("exists=%d\n", zn::TznFlashDriverActiveX::PluginExists() ? 1 : 0);
    std::printf("default=%ls\n", zn::DefaultFlashDriverClass.Create(1, 1, 0)->ClassName().c_str());
    if (mode != "present")
        ProbeAbsent(factory);
    std::printf("choices=%ls %ls %ls\n", Choice(zn::znDefault).c_str(),
                Choice(zn::znNetscape).c_str(), Choice(zn::znActiveX).c_str());
    if (registration != 0)
        CoRevokeClassObject(registration);
    CoUninitialize();
    return 0;
}
