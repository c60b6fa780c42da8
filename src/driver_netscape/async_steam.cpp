// An HTTP download delivered to the plug-in piece by piece (see async_steam.h).
#include "async_steam.h"

#include "browser_table.h"
#include "plugin_instance.h"
#include "zintara/framework/properties.h"

#include <vector>

namespace zn {

TAsyncSteam::TAsyncSteam(std::uint64_t Generation, const std::string& Url, void* NotifyData)
    : TComponent(nullptr), FGeneration(Generation), url(Url)
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
    static const TClassInfo info = DeclareClass<TAsyncSteam, TComponent>(L"TAsyncSteam");
    return info;
}

const TClassInfo& TAsyncSteam::ClassType() const
{
    return ClassInfo();
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

ULONG TAsyncSteam::AddRef()
{
    return static_cast<ULONG>(-1);
}
ULONG TAsyncSteam::Release()
{
    return static_cast<ULONG>(-1);
}

HRESULT TAsyncSteam::OnStartBinding(DWORD, IBinding*)
{
    return S_OK;
}
HRESULT TAsyncSteam::GetPriority(LONG*)
{
    return S_OK;
}
HRESULT TAsyncSteam::OnLowResource(DWORD)
{
    return S_OK;
}
HRESULT TAsyncSteam::OnProgress(ULONG, ULONG, ULONG, LPCWSTR)
{
    return S_OK;
}
HRESULT TAsyncSteam::OnObjectAvailable(REFIID, IUnknown*)
{
    return S_OK;
}

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
    if (bytes.empty())
        return;
    const netscape::TPluginCall call(netscape::RunningInstance(FGeneration));
    call.Write(acyncstm, bytes.data(), static_cast<std::int32_t>(bytes.size()));
    if (call.Running())
        call.UrlNotify(acyncstm, NPRES_DONE);
    if (TznFlashDriverNS* driver = call.Driver())
        driver->AnnounceWindow();
}

HRESULT TAsyncSteam::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM* pstgmed)
{
    return ExceptionBoundary<HRESULT>(S_OK, [&] {
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
    return ExceptionBoundary<HRESULT>(S_OK, [&] {
        if (hresult == S_OK)
            DeliverAvailable();
        if (IStream* data = std::exchange(FData, nullptr))
            data->Release();
        if (hresult != S_OK)
            return S_OK;
        const netscape::TPluginCall call(netscape::RunningInstance(FGeneration));
        if (call.Running())
            call.UrlNotify(acyncstm, NPRES_DONE);
        if (call.Running())
            call.DestroyStream(acyncstm, NPRES_DONE);
        return S_OK;
    });
}

} // namespace zn
