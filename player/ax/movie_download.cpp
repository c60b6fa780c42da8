// Binding a moniker for a file and gathering what arrives.
#include "movie_download.h"

#include "control.h"
#include "control_log.h"
#include "control_module.h"

#include <cwctype>

namespace zn::ax {

MovieDownload::MovieDownload(Control& owner, const void* identity, std::wstring url,
                             Purpose purpose)
    : owner_(&owner), identity_(identity), url_(std::move(url)), purpose_(purpose)
{
    // urlmon may call a download back after its control is gone: the code must stay loaded.
    LockModule();
}

namespace {

// A name the control can fetch by itself: a drive path, a UNC path or a "file:" URL.
bool IsPlainFilePath(const std::wstring& name)
{
    const bool drive = name.size() > 2 && iswalpha(name[0]) && name[1] == L':' &&
                       (name[2] == L'\\' || name[2] == L'/');
    return drive || name.rfind(L"\\\\", 0) == 0 || _wcsnicmp(name.c_str(), L"file:", 5) == 0;
}

} // namespace

HRESULT MovieDownload::Start(IBindHost* bindHost)
{
    // The download may end (and its owner let go of it) anywhere below.
    AddRef();
    HRESULT hr = Bind(bindHost);
    Release();
    return hr;
}

HRESULT MovieDownload::Bind(IBindHost* bindHost)
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
        if (FAILED(hr) && moniker)
            Violation("IBindHost.CreateMoniker failed but left a moniker");
        if (FAILED(hr))
            moniker = nullptr;
    }
    // A name the container declines is fetched the control's own way, when it is a file.
    if (!moniker && IsPlainFilePath(url_))
        hr = CreateURLMonikerEx(nullptr, url_.c_str(), &moniker, URL_MK_UNIFORM);
    if (!moniker) {
        context->Release();
        hr = FAILED(hr) ? hr : INET_E_RESOURCE_NOT_FOUND;
        Finish(hr);
        return hr;
    }
    IStream* stream = nullptr;
    hr = moniker->BindToStorage(context, nullptr, IID_IStream, reinterpret_cast<void**>(&stream));
    LogCall("Moniker.BindToStorage", identity_).Address("object", stream).Result(hr).Record();
    if (stream)
        stream->Release();
    moniker->Release();
    context->Release();
    // A binding that failed before it started never calls OnStopBinding.
    if (FAILED(hr) && !started_)
        Finish(hr);
    return FAILED(hr) ? hr : S_OK;
}

MovieDownload::~MovieDownload()
{
    if (stream_)
        stream_->Release();
    UnlockModule();
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

STDMETHODIMP MovieDownload::OnStartBinding(DWORD, IBinding* binding)
{
    // The reserved value is not logged: urlmon's holder of the callback replaces it.
    LogCall("IBindStatusCallback.OnStartBinding", identity_).Address("binding", binding).Record();
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

STDMETHODIMP MovieDownload::OnProgress(ULONG progress, ULONG maximum, ULONG status, LPCWSTR text)
{
    LogCall("IBindStatusCallback.OnProgress", identity_)
        .Number("progress", progress)
        .Number("max", maximum)
        .Number("status", status)
        .Text("text", text)
        .Record();
    return S_OK;
}

STDMETHODIMP MovieDownload::OnStopBinding(HRESULT status, LPCWSTR error)
{
    LogCall("IBindStatusCallback.OnStopBinding", identity_)
        .Result(status)
        .Text("error", error)
        .Record();
    if (!started_)
        Violation("IBindStatusCallback.OnStopBinding without OnStartBinding");
    Finish(status);
    return S_OK;
}

STDMETHODIMP MovieDownload::GetBindInfo(DWORD* flags, BINDINFO* info)
{
    LogCall("IBindStatusCallback.GetBindInfo", identity_).Record();
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

STDMETHODIMP MovieDownload::OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format,
                                            STGMEDIUM* medium)
{
    LogCall("IBindStatusCallback.OnDataAvailable", identity_)
        .Number("flags", flags)
        .Number("size", size)
        .Address("format", format)
        .Number("tymed", medium ? static_cast<long long>(medium->tymed) : -1)
        .Record();
    if (finished_) {
        Violation("IBindStatusCallback.OnDataAvailable after OnStopBinding");
        return E_UNEXPECTED;
    }
    if (!medium || medium->tymed != TYMED_ISTREAM || !medium->pstm) {
        Violation("IBindStatusCallback.OnDataAvailable without a stream");
        return E_INVALIDARG;
    }
    // The stream stays the control's until the binding stops: what arrives later is read
    // from it then.
    if (medium->pstm != stream_) {
        medium->pstm->AddRef();
        if (stream_)
            stream_->Release();
        stream_ = medium->pstm;
    }
    Read(*stream_);
    return S_OK;
}

STDMETHODIMP MovieDownload::OnObjectAvailable(REFIID, IUnknown*)
{
    Violation("IBindStatusCallback.OnObjectAvailable for a storage bind");
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
    if (stream_) {
        Read(*stream_);
        stream_->Release();
        stream_ = nullptr;
    }
    if (owner_)
        owner_->DownloadEnded(*this, status);
}

} // namespace zn::ax
