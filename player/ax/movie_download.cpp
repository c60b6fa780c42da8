// Binding a moniker for a file and gathering what arrives.
#include "movie_download.h"

#include "control.h"
#include "control_log.h"

namespace zn::ax {

MovieDownload::MovieDownload(Control& owner, const void* identity, std::wstring url,
                             Purpose purpose)
    : owner_(&owner), identity_(identity), url_(std::move(url)), purpose_(purpose)
{}

HRESULT MovieDownload::Start(IBindHost* bindHost)
{
    IBindCtx* context = nullptr;
    // The callback is registered in the context under "_BSCB_Holder_", where monikers look.
    HRESULT hr = CreateAsyncBindCtx(0, this, nullptr, &context);
    if (FAILED(hr))
        return hr;
    IMoniker* moniker = nullptr;
    if (bindHost) {
        hr = bindHost->CreateMoniker(const_cast<LPOLESTR>(url_.c_str()), context, &moniker, 0);
        LogCall("Site.CreateMoniker", identity_)
            .Text("name", url_.c_str())
            .Address("moniker", moniker)
            .Result(hr)
            .Record();
        if (SUCCEEDED(hr) && !moniker)
            Violation("IBindHost.CreateMoniker succeeded without a moniker");
    }
    if (!moniker)
        hr = CreateURLMonikerEx(nullptr, url_.c_str(), &moniker, URL_MK_UNIFORM);
    if (FAILED(hr) || !moniker) {
        context->Release();
        return FAILED(hr) ? hr : E_FAIL;
    }
    IStream* stream = nullptr;
    AddRef(); // the binding may end inside BindToStorage and release its hold on us
    hr = moniker->BindToStorage(context, nullptr, IID_IStream, reinterpret_cast<void**>(&stream));
    if (bindHost)
        LogCall("Site.BindToStorage", identity_).Result(hr).Record();
    if (stream)
        stream->Release();
    moniker->Release();
    context->Release();
    // A binding that failed before it started never calls OnStopBinding.
    if (FAILED(hr) && !started_)
        Finish(hr);
    Release();
    return FAILED(hr) ? hr : S_OK;
}

STDMETHODIMP MovieDownload::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IBindStatusCallback)
        return E_NOINTERFACE;
    *object = static_cast<IBindStatusCallback*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) MovieDownload::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) MovieDownload::Release()
{
    LONG count = InterlockedDecrement(&references_);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

STDMETHODIMP MovieDownload::OnStartBinding(DWORD, IBinding*)
{
    if (started_)
        Violation("IBindStatusCallback.OnStartBinding twice");
    started_ = true;
    return S_OK;
}

STDMETHODIMP MovieDownload::GetPriority(LONG* priority)
{
    if (!priority)
        return E_POINTER;
    *priority = THREAD_PRIORITY_NORMAL;
    return S_OK;
}

STDMETHODIMP MovieDownload::OnLowResource(DWORD)
{
    return S_OK;
}

STDMETHODIMP MovieDownload::OnProgress(ULONG, ULONG, ULONG, LPCWSTR)
{
    return S_OK;
}

STDMETHODIMP MovieDownload::OnStopBinding(HRESULT status, LPCWSTR)
{
    if (!started_)
        Violation("IBindStatusCallback.OnStopBinding without OnStartBinding");
    Finish(status);
    return S_OK;
}

STDMETHODIMP MovieDownload::GetBindInfo(DWORD* flags, BINDINFO* info)
{
    if (!flags || !info)
        return E_INVALIDARG;
    *flags = BINDF_ASYNCHRONOUS | BINDF_ASYNCSTORAGE | BINDF_PULLDATA;
    ULONG size = info->cbSize;
    if (size < sizeof(DWORD))
        return E_INVALIDARG;
    ZeroMemory(info, size);
    info->cbSize = size;
    info->dwBindVerb = BINDVERB_GET;
    return S_OK;
}

STDMETHODIMP MovieDownload::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM* medium)
{
    if (finished_) {
        Violation("IBindStatusCallback.OnDataAvailable after OnStopBinding");
        return E_UNEXPECTED;
    }
    if (!medium || medium->tymed != TYMED_ISTREAM || !medium->pstm) {
        Violation("IBindStatusCallback.OnDataAvailable without a stream");
        return E_INVALIDARG;
    }
    Read(*medium->pstm);
    return S_OK;
}

STDMETHODIMP MovieDownload::OnObjectAvailable(REFIID, IUnknown*)
{
    return S_OK;
}

void MovieDownload::Read(IStream& stream)
{
    // The sizes a binding reports may lag what the stream holds: read until it has no more.
    std::uint8_t chunk[16384];
    for (;;) {
        ULONG read = 0;
        HRESULT hr = stream.Read(chunk, sizeof chunk, &read);
        bytes_.insert(bytes_.end(), chunk, chunk + read);
        if (hr != S_OK || read == 0)
            break;
    }
}

void MovieDownload::Finish(HRESULT status)
{
    if (finished_) {
        Violation("IBindStatusCallback.OnStopBinding twice");
        return;
    }
    finished_ = true;
    if (owner_)
        owner_->DownloadEnded(*this, status);
}

} // namespace zn::ax
