// TAsyncSteam: one HTTP download, fed to the plug-in as an NPAPI stream while the data arrives.
// It is the binding's status callback; urlmon calls it on the user-interface thread. It takes
// part in no reference counting: the unit keeps it until shut-down.
//
// "Steam", not "Stream", is not a slip to correct: it is the name the library's design gives the
// class, and the name under which code and notes that speak of it find it.
#pragma once

#include "zintara/zn_driver_netscape.h"
#include "zintara/framework/component.h"

#include <windows.h>
#include <urlmon.h>

#include <cstdint>
#include <string>

namespace zn {

class TAsyncSteam : public TComponent, public IBindStatusCallback {
public:
    // The download of Url (8-bit, as the plug-in named it) for the instance of that generation.
    // Neither the driver's address nor the plug-in's pdata names the instance: a driver freed and
    // another allocated in its place, or a movie reloaded, would take them over.
    TAsyncSteam(std::uint64_t Generation, const std::string& Url, void* NotifyData);
    ~TAsyncSteam() override;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    TNPStream& Stream() { return acyncstm; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD dwReserved, IBinding* pib) override;
    HRESULT STDMETHODCALLTYPE GetPriority(LONG* pnPriority) override;
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG ulProgress, ULONG ulProgressMax, ULONG ulStatusCode,
                                         LPCWSTR szStatusText) override;
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT hresult, LPCWSTR szError) override;
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* grfBINDF, BINDINFO* pbindinfo) override;
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD grfBSCF, DWORD dwSize, FORMATETC* pformatetc,
                                              STGMEDIUM* pstgmed) override;
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID riid, IUnknown* punk) override;

private:
    // Hands everything the stream holds now to the plug-in in one write.
    void DeliverAvailable();

    // The instance the download feeds; once it no longer runs, the download feeds nobody.
    std::uint64_t FGeneration;
    TNPStream acyncstm{};
    // The 8-bit URL the stream record names, owned here for the stream's whole life.
    std::string url;
    // The data stream of the binding, kept from its first piece to the end of the binding: the
    // system's last notification may report less than it has, so the end drains it.
    IStream* FData = nullptr;
};

} // namespace zn
