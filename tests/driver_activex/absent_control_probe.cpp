// Driver selection and the ActiveX driver in a process where the Flash control cannot be
// created: a class object registered for the control's class in this process only refuses every
// instance, or (with the argument "null") answers success without one. Prints one line per
// finding, "name=value", for the test to read; the exit code is 0 unless the probe itself failed.
#include "zintara/zn_driver_activex.h"
#include "zintara/zn_flashplayer.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

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

} // namespace

int main(int argc, char** argv)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 10;
    TRefusingFactory factory(argc > 1 && std::strcmp(argv[1], "null") == 0);
    DWORD registration = 0;
    if (FAILED(CoRegisterClassObject(zn::CLASS_znFlashPlayer, &factory, CLSCTX_INPROC_SERVER,
                                     REGCLS_MULTIPLEUSE, &registration)))
        return 11;

    zn::CheckFlashPlugins();
    zn::CheckFlashPlugins();
    std::printf("requests=%d\n", factory.Requests);
    std::printf("exists=%d\n", zn::TznFlashDriverActiveX::PluginExists() ? 1 : 0);
    std::printf(
        "default_is_null=%d\n",
        zn::DefaultFlashDriverClass == zn::TznFlashDriverClass::Of<zn::TznFlashDriver>() ? 1 : 0);

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
    std::printf("requests_after=%d\n", factory.Requests);

    std::unique_ptr<zn::TznFlashDriver> chosen;
    zn::ChangePlugin(chosen, zn::znActiveX, L"", 20, 20, 0, nullptr, {}, {}, {}, {});
    std::printf("active_x_choice=%ls\n", chosen->ClassName().c_str());
    chosen.reset();
    CoRevokeClassObject(registration);
    CoUninitialize();
    return 0;
}
