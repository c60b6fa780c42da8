// An HTTP download delivered to the plug-in piece by piece (see async_steam.h).
#include "async_steam.h"

#include "browser_table.h"
#include "netscape_unit.h"
#include "zintara/framework/properties.h"

#include <vector>

namespace zn {

using netscape::TNetscapeUnit;

TAsyncSteam::TAsyncSteam(TznFlashDriverNS* Plugin, const std::string& Url, void* NotifyData)
    : TComponent(nullptr), FPlugin(Plugin), url(Url), FInstanceData(Plugin->Instance().pdata)
{
    acyncstm.url = url.c_str();
    acyncstm.notifyData = NotifyData;
}

TAsyncSteam::~TAsyncSteam()
{
    if (IStream* data = std::exchange(FData, nullptr))
        data->Release();
}

const TClassInfo& TAsyncSteam::ClassInfo()
{
    static const TClassInfo Info = DeclareClass<TAsyncSteam, TComponent>(L"TAsyncSteam");
    return Info;
}

const TClassInfo& TAsyncSteam::ClassType() const { return ClassInfo(); }

TznFlashDriverNS* TAsyncSteam::Receiver() const
{
    if (!netscape::IsLiveDriver(FPlugin) || FPlugin->Instance().pdata != FInstanceData)
        return nullptr;
    return FPlugin;
}

HRESULT TAsyncSteam::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IBindStatusCallback)
        return E_NOINTERFACE;
    *ppv = static_cast<IBindStatusCallback*>(this);
    return S_OK;
}

ULONG TAsyncSteam::AddRef() { return static_cast<ULONG>(-1); }
ULONG TAsyncSteam::Release() { return static_cast<ULONG>(-1); }

HRESULT TAsyncSteam::OnStartBinding(DWORD, IBinding*) { return S_OK; }
HRESULT TAsyncSteam::GetPriority(LONG*) { return S_OK; }
HRESULT TAsyncSteam::OnLowResource(DWORD) { return S_OK; }
HRESULT TAsyncSteam::OnProgress(ULONG, ULONG, ULONG, LPCWSTR) { return S_OK; }
HRESULT TAsyncSteam::OnObjectAvailable(REFIID, IUnknown*) { return S_OK; }

HRESULT TAsyncSteam::GetBindInfo(DWORD* grfBINDF, BINDINFO*)
{
    if (grfBINDF)
        *grfBINDF = BINDF_ASYNCHRONOUS | BINDF_ASYNCSTORAGE;
    return S_OK;
}

void TAsyncSteam::DeliverAvailable()
{
    if (!FData)
        return;
    std::vector<unsigned char> bytes;
    unsigned char chunk[16384];
    for (;;) {
        ULONG read = 0;
        const HRESULT result = FData->Read(chunk, sizeof chunk, &read);
        bytes.insert(bytes.end(), chunk, chunk + read);
        if (result != S_OK || read == 0)
            break;
    }
    TznFlashDriverNS* plugin = Receiver();
    if (bytes.empty() || !plugin)
        return;
    TNetscapeUnit& unit = TNetscapeUnit::Instance();
    const TNPPluginFuncs& funcs = unit.PluginFuncs();
    PNPP instance = &plugin->Instance();
    if (funcs.write)
        funcs.write(instance, &acyncstm, 0, static_cast<std::int32_t>(bytes.size()), bytes.data());
    if (funcs.urlnotify && Receiver())
        funcs.urlnotify(instance, acyncstm.url, NPRES_DONE, acyncstm.notifyData);
    if (Receiver())
        plugin->AnnounceWindow();
}

HRESULT TAsyncSteam::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM* pstgmed)
{
    return netscape::Guarded<HRESULT>(S_OK, [&] {
        if (!pstgmed || pstgmed->tymed != TYMED_ISTREAM || !pstgmed->pstm)
            return S_OK;
        if (FData != pstgmed->pstm) {
            pstgmed->pstm->AddRef();
            if (IStream* previous = std::exchange(FData, pstgmed->pstm))
                previous->Release();
        }
        DeliverAvailable();
        return S_OK;
    });
}

HRESULT TAsyncSteam::OnStopBinding(HRESULT hresult, LPCWSTR)
{
    return netscape::Guarded<HRESULT>(S_OK, [&] {
        if (hresult == S_OK)
            DeliverAvailable();
        if (IStream* data = std::exchange(FData, nullptr))
            data->Release();
        TznFlashDriverNS* plugin = Receiver();
        if (hresult != S_OK || !plugin)
            return S_OK;
        const TNPPluginFuncs& funcs = TNetscapeUnit::Instance().PluginFuncs();
        PNPP instance = &plugin->Instance();
        if (funcs.urlnotify)
            funcs.urlnotify(instance, acyncstm.url, NPRES_DONE, acyncstm.notifyData);
        if (funcs.destroystream && Receiver())
            funcs.destroystream(instance, &acyncstm, NPRES_DONE);
        return S_OK;
    });
}

} // namespace zn
