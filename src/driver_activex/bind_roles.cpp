// The container as the control's bind host and as the moniker it binds: every movie and every
// file a movie loads comes through here.
//
// A bind of a source the driver holds calls the caller's callback synchronously: start, one
// progress report, one data notification flagged first and last with the whole size, stop. The
// IStream handed over owns its copy of the bytes, so the callback may keep it as long as it
// likes. A URL goes to the system's URL library, which drives the same callback itself.
#include "control_host.h"
#include "movie_sources.h"
#include "zintara/core/url_pull_download.h"

#include <limits>

namespace zn::activex {
namespace {

constexpr const wchar_t* CallbackParameter = L"_BSCB_Holder_";

TComPtr<IBindStatusCallback> CallbackOf(IBindCtx* Context)
{
    TComPtr<IBindStatusCallback> callback;
    TComPtr<IUnknown> holder;
    if (Context &&
        SUCCEEDED(Context->GetObjectParam(const_cast<LPOLESTR>(CallbackParameter), holder.put())) &&
        holder)
        holder.query(IID_IBindStatusCallback, callback);
    return callback;
}

// The whole of Data in a stream of its own; null when Data cannot be read.
TComPtr<IStream> OwnedCopyOf(TStream& Data)
{
    TComPtr<IStream> stream;
    try {
        const std::int64_t size = Data.Size();
        if (size < 0 || size > std::numeric_limits<std::int32_t>::max())
            return stream;
        const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size ? size : 1));
        if (!memory)
            return stream;
        void* bytes = GlobalLock(memory);
        try {
            Data.SetPosition(0);
            Data.ReadBuffer(bytes, static_cast<std::size_t>(size));
        } catch (...) {
            GlobalUnlock(memory);
            GlobalFree(memory);
            throw;
        }
        GlobalUnlock(memory);
        if (FAILED(CreateStreamOnHGlobal(memory, TRUE, stream.put())))
            GlobalFree(memory);
        else
            OleCheck(stream->SetSize(ULARGE_INTEGER{{static_cast<DWORD>(size), 0}}));
    } catch (const Exception&) {
        stream.reset();
    }
    return stream;
}

HRESULT Deliver(TStream& Data, IBindStatusCallback& Callback)
{
    const TComPtr<IStream> stream = OwnedCopyOf(Data);
    if (!stream)
        return INET_E_DATA_NOT_AVAILABLE;
    STATSTG status{};
    stream->Stat(&status, STATFLAG_NONAME);
    STGMEDIUM medium{};
    medium.tymed = TYMED_ISTREAM;
    medium.pstm = stream.get();
    Callback.OnStartBinding(0, nullptr);
    Callback.OnProgress(100, 100, BINDSTATUS_ENDDOWNLOADDATA, L"");
    Callback.OnDataAvailable(BSCF_FIRSTDATANOTIFICATION | BSCF_LASTDATANOTIFICATION,
                             status.cbSize.LowPart, nullptr, &medium);
    Callback.OnStopBinding(S_OK, L"");
    return S_OK;
}

// The system's pull download where it has one; where it is a stub, as on Wine, a URL moniker
// bound with the callback in its bind context, which drives the callback the same way.
HRESULT OpenUrl(const std::wstring& Url, IBindStatusCallback* Callback)
{
    static TUrlMonLibrary library;
    using TOpenPullStream = HRESULT(WINAPI*)(IUnknown*, LPCWSTR, DWORD, IBindStatusCallback*);
    static const auto open_pull_stream = reinterpret_cast<TOpenPullStream>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"urlmon.dll"), "URLOpenPullStreamW")));
    if (open_pull_stream) {
        const HRESULT result = open_pull_stream(nullptr, Url.c_str(), 0, Callback);
        if (result != E_NOTIMPL)
            return result;
    }
    return library.OpenPullStream(Url, Callback);
}

} // namespace

// Bind host

HRESULT TBindHost::CreateMoniker(LPOLESTR szName, IBindCtx*, IMoniker** ppmk, DWORD)
{
    if (ppmk == nullptr)
        return E_POINTER;
    *ppmk = nullptr;
    return ExceptionBoundary(E_FAIL, [&] {
        const TControlCall call(FHost);
        TznFlashDriverActiveX* driver = call.Driver();
        if (driver == nullptr || !driver->FSources->Resolve(szName ? szName : L""))
            return NotImplemented();
        return FHost.QueryInterface(IID_IMoniker, reinterpret_cast<void**>(ppmk));
    });
}

// The control binds the moniker itself; these are never how the driver's data is reached.
HRESULT TBindHost::MonikerBindToStorage(IMoniker*, IBindCtx*, IBindStatusCallback*, REFIID, void**)
{
    return S_OK;
}
HRESULT TBindHost::MonikerBindToObject(IMoniker*, IBindCtx*, IBindStatusCallback*, REFIID, void**)
{
    return S_OK;
}

// Moniker

HRESULT TUrlMoniker::BindToStorage(IBindCtx* pbc, IMoniker*, REFIID, void** ppvObj)
{
    if (ppvObj != nullptr)
        *ppvObj = nullptr;
    return ExceptionBoundary(E_FAIL, [&]() -> HRESULT {
        const TComPtr<IBindStatusCallback> callback = CallbackOf(pbc);
        if (!callback)
            return E_FAIL;
        // The host outlives the callbacks, which may free the driver.
        const TControlCall call(FHost);
        TznFlashDriverActiveX* driver = call.Driver();
        if (driver == nullptr)
            return E_FAIL;
        const TMovieSources::TSource source = driver->FSources->TakeCurrent();
        if (source.Data)
            return Deliver(*source.Data, *callback.get());
        if (source.Url.empty())
            return INET_E_RESOURCE_NOT_FOUND;
        return OpenUrl(source.Url, callback.get());
    });
}

HRESULT TUrlMoniker::GetClassID(CLSID*)
{
    return NotImplemented();
}
HRESULT TUrlMoniker::IsDirty()
{
    return NotImplemented();
}
HRESULT TUrlMoniker::Load(IStream*)
{
    return NotImplemented();
}
HRESULT TUrlMoniker::Save(IStream*, BOOL)
{
    return NotImplemented();
}
HRESULT TUrlMoniker::GetSizeMax(ULARGE_INTEGER*)
{
    return NotImplemented();
}
HRESULT TUrlMoniker::BindToObject(IBindCtx*, IMoniker*, REFIID, void** ppvResult)
{
    if (ppvResult != nullptr)
        *ppvResult = nullptr;
    return NotImplemented();
}
HRESULT TUrlMoniker::Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker** ppmkReduced)
{
    if (ppmkReduced != nullptr)
        *ppmkReduced = nullptr;
    return NotImplemented();
}
HRESULT TUrlMoniker::ComposeWith(IMoniker*, BOOL, IMoniker** ppmkComposite)
{
    if (ppmkComposite != nullptr)
        *ppmkComposite = nullptr;
    return NotImplemented();
}
HRESULT TUrlMoniker::Enum(BOOL, IEnumMoniker** ppenumMoniker)
{
    if (ppenumMoniker != nullptr)
        *ppenumMoniker = nullptr;
    return NotImplemented();
}
HRESULT TUrlMoniker::IsEqual(IMoniker*)
{
    return NotImplemented();
}
HRESULT TUrlMoniker::Hash(DWORD*)
{
    return NotImplemented();
}
HRESULT TUrlMoniker::IsRunning(IBindCtx*, IMoniker*, IMoniker*)
{
    return NotImplemented();
}
HRESULT TUrlMoniker::GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*)
{
    return NotImplemented();
}
HRESULT TUrlMoniker::Inverse(IMoniker** ppmk)
{
    if (ppmk != nullptr)
        *ppmk = nullptr;
    return NotImplemented();
}
HRESULT TUrlMoniker::CommonPrefixWith(IMoniker*, IMoniker** ppmkPrefix)
{
    if (ppmkPrefix != nullptr)
        *ppmkPrefix = nullptr;
    return NotImplemented();
}
HRESULT TUrlMoniker::RelativePathTo(IMoniker*, IMoniker** ppmkRelPath)
{
    if (ppmkRelPath != nullptr)
        *ppmkRelPath = nullptr;
    return NotImplemented();
}
HRESULT TUrlMoniker::GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR* ppszDisplayName)
{
    if (ppszDisplayName != nullptr)
        *ppszDisplayName = nullptr;
    return NotImplemented();
}
HRESULT TUrlMoniker::ParseDisplayName(IBindCtx*, IMoniker*, LPOLESTR, ULONG*, IMoniker** ppmkOut)
{
    if (ppmkOut != nullptr)
        *ppmkOut = nullptr;
    return NotImplemented();
}
HRESULT TUrlMoniker::IsSystemMoniker(DWORD*)
{
    return NotImplemented();
}

} // namespace zn::activex
