// Pull downloads through urlmon (see url_pull_download.h).
#include "zintara/core/url_pull_download.h"

#include "zintara/framework/com.h"

namespace zn {
namespace {

// Sits between urlmon and the caller's callback for one binding: forwards every notification
// and forces the pull model into the bind flags. urlmon owns it through the bind context; the
// caller's callback is only referenced while the binding lasts.
class TPullBindCallback final : public IBindStatusCallback {
public:
    explicit TPullBindCallback(IBindStatusCallback* Target) : FTarget(Target) { FTarget->AddRef(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IBindStatusCallback)
            return E_NOINTERFACE;
        *ppv = static_cast<IBindStatusCallback*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --FReferences;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD dwReserved, IBinding* pib) override
    {
        return FTarget->OnStartBinding(dwReserved, pib);
    }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG* pnPriority) override
    {
        return FTarget->GetPriority(pnPriority);
    }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD reserved) override
    {
        return FTarget->OnLowResource(reserved);
    }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG ulProgress, ULONG ulProgressMax, ULONG ulStatusCode,
                                         LPCWSTR szStatusText) override
    {
        return FTarget->OnProgress(ulProgress, ulProgressMax, ulStatusCode, szStatusText);
    }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT hresult, LPCWSTR szError) override
    {
        return FTarget->OnStopBinding(hresult, szError);
    }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* grfBINDF, BINDINFO* pbindinfo) override
    {
        const HRESULT result = FTarget->GetBindInfo(grfBINDF, pbindinfo);
        if (grfBINDF)
            *grfBINDF |= BINDF_ASYNCHRONOUS | BINDF_ASYNCSTORAGE | BINDF_PULLDATA;
        return result;
    }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD grfBSCF, DWORD dwSize, FORMATETC* pformatetc,
                                              STGMEDIUM* pstgmed) override
    {
        return FTarget->OnDataAvailable(grfBSCF, dwSize, pformatetc, pstgmed);
    }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID riid, IUnknown* punk) override
    {
        return FTarget->OnObjectAvailable(riid, punk);
    }

private:
    ~TPullBindCallback() { FTarget->Release(); }

    IBindStatusCallback* FTarget;
    ULONG FReferences = 1;
};

} // namespace

TUrlMonLibrary::TUrlMonLibrary() : FLibrary(LoadLibraryW(L"urlmon.dll"))
{
    if (!FLibrary)
        return;
    FCreateURLMonikerEx = reinterpret_cast<decltype(FCreateURLMonikerEx)>(
        reinterpret_cast<void*>(GetProcAddress(FLibrary.get(), "CreateURLMonikerEx")));
    FCreateAsyncBindCtx = reinterpret_cast<decltype(FCreateAsyncBindCtx)>(
        reinterpret_cast<void*>(GetProcAddress(FLibrary.get(), "CreateAsyncBindCtx")));
}

HRESULT TUrlMonLibrary::OpenPullStream(const std::wstring& Url, IBindStatusCallback* Callback)
{
    if (!CanDownload())
        return E_NOTIMPL;
    if (!Callback)
        return E_POINTER;

    TComPtr<IMoniker> moniker;
    HRESULT result = FCreateURLMonikerEx(nullptr, Url.c_str(), moniker.put(), URL_MK_UNIFORM);
    if (FAILED(result) || !moniker)
        return FAILED(result) ? result : E_FAIL;

    TComPtr<TPullBindCallback> pull;
    pull.attach(new TPullBindCallback(Callback));
    TComPtr<IBindCtx> context;
    result = FCreateAsyncBindCtx(0, pull.get(), nullptr, context.put());
    if (FAILED(result) || !context)
        return FAILED(result) ? result : E_FAIL;

    TComPtr<IStream> stream;
    result = moniker->BindToStorage(context.get(), nullptr, IID_IStream, stream.put_void());
    return result == MK_S_ASYNCHRONOUS ? S_OK : result;
}

} // namespace zn
