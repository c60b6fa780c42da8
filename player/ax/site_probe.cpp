// Probing a client site.
#include "site_probe.h"

#include "control_log.h"

#include <ocidl.h>
#include <servprov.h>
#include <urlmon.h>

namespace zn::ax {

namespace {

struct Probe {
    const IID& iid;
    const char* name;
};

// Written into out pointers before each call: a site that fails must clear it.
void* const kUntouched = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0xBADC0DE));

} // namespace

void ProbeSite(IOleClientSite& site, const void* control)
{
    static const Probe probes[] = {
        {IID_IOleClientSite, "IOleClientSite"},
        {IID_IOleControlSite, "IOleControlSite"},
        {IID_IOleWindow, "IOleWindow"},
        {IID_IOleInPlaceSite, "IOleInPlaceSite"},
        {IID_IOleInPlaceSiteEx, "IOleInPlaceSiteEx"},
        {IID_IOleInPlaceSiteWindowless, "IOleInPlaceSiteWindowless"},
        {IID_IOleInPlaceUIWindow, "IOleInPlaceUIWindow"},
        {IID_IOleInPlaceFrame, "IOleInPlaceFrame"},
        {IID_IDispatch, "IDispatch"},
        {IID_IPropertyNotifySink, "IPropertyNotifySink"},
        {IID_IServiceProvider, "IServiceProvider"},
        {IID_IBindHost, "IBindHost"},
        {IID_IMoniker, "IMoniker"},
        {IID_IPersist, "IPersist"},
        {IID_IPersistStream, "IPersistStream"},
        {IID_IOleContainer, "IOleContainer"},
    };
    IUnknown* identity = nullptr;
    if (FAILED(site.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))) ||
        !identity) {
        Violation("the client site does not answer IUnknown");
        return;
    }
    for (const Probe& probe : probes) {
        void* object = kUntouched;
        HRESULT hr = site.QueryInterface(probe.iid, &object);
        LogCall("Site.QueryInterface", control).Text("iid", probe.name).Result(hr).Record();
        if (FAILED(hr)) {
            if (object)
                Violation(std::string("the site's QueryInterface for ") + probe.name +
                          " failed without clearing the out pointer");
            continue;
        }
        if (!object || object == kUntouched) {
            Violation(std::string("the site's QueryInterface for ") + probe.name +
                      " succeeded without an interface");
            continue;
        }
        auto* answered = static_cast<IUnknown*>(object);
        IUnknown* same = nullptr;
        if (FAILED(answered->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&same))) ||
            same != identity)
            Violation(std::string("the site's ") + probe.name + " has another identity");
        if (same)
            same->Release();
        answered->Release();
    }
    identity->Release();

    void* container = kUntouched;
    HRESULT hr = site.GetContainer(reinterpret_cast<IOleContainer**>(&container));
    LogCall("Site.GetContainer", control).Result(hr).Record();
    if (FAILED(hr) && container)
        Violation("IOleClientSite.GetContainer failed without clearing the out pointer");
    if (SUCCEEDED(hr) && container && container != kUntouched)
        static_cast<IOleContainer*>(container)->Release();
    void* moniker = kUntouched;
    hr = site.GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_CONTAINER,
                         reinterpret_cast<IMoniker**>(&moniker));
    LogCall("Site.GetMoniker", control).Result(hr).Record();
    if (FAILED(hr) && moniker)
        Violation("IOleClientSite.GetMoniker failed without clearing the out pointer");
    if (SUCCEEDED(hr) && moniker && moniker != kUntouched)
        static_cast<IMoniker*>(moniker)->Release();
}

} // namespace zn::ax
