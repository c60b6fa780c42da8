// TStreamAdapter: IStream methods mapped onto TStream, exceptions turned into HRESULTs.
#include "zintara/framework/stream_adapter.h"

#include "zintara/framework/com.h"
#include "zintara/framework/exceptions.h"

#include <algorithm>
#include <new>
#include <vector>

namespace zn {

namespace {

// Runs Body and maps the stream's own failures onto the HRESULT a COM caller understands; any
// other exception is the application's fault and goes to its exception handler.
template <class F>
HRESULT Guarded(F&& Body)
{
    return ExceptionBoundary<HRESULT>(E_FAIL, [&]() -> HRESULT {
        try {
            return Body();
        } catch (const EOutOfMemory&) {
            return E_OUTOFMEMORY;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (const EReadError&) {
            return STG_E_READFAULT;
        } catch (const EWriteError&) {
            return STG_E_WRITEFAULT;
        } catch (const EStreamError&) {
            return STG_E_INVALIDFUNCTION;
        }
    });
}

} // namespace

TStreamAdapter::TStreamAdapter(TStream& Stream, TStreamOwnership Ownership)
    : FStream(Stream), FOwnership(Ownership)
{}

TStreamAdapter::~TStreamAdapter()
{
    if (FOwnership == TStreamOwnership::soOwned)
        delete &FStream;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::QueryInterface(REFIID Riid, void** Object)
{
    if (!Object)
        return E_POINTER;
    if (IsEqualIID(Riid, IID_IUnknown) || IsEqualIID(Riid, IID_ISequentialStream) ||
        IsEqualIID(Riid, IID_IStream)) {
        *Object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TStreamAdapter::AddRef()
{
    return ++FReferences;
}

ULONG STDMETHODCALLTYPE TStreamAdapter::Release()
{
    ULONG left = --FReferences;
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Read(void* Buffer, ULONG Count, ULONG* Done)
{
    if (Done)
        *Done = 0;
    if (!Buffer)
        return STG_E_INVALIDPOINTER;
    return Guarded([&] {
        ULONG transferred = static_cast<ULONG>(FStream.Read(Buffer, Count));
        if (Done)
            *Done = transferred;
        return transferred == Count ? S_OK : S_FALSE;
    });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Write(const void* Buffer, ULONG Count, ULONG* Done)
{
    if (Done)
        *Done = 0;
    if (!Buffer)
        return STG_E_INVALIDPOINTER;
    return Guarded([&] {
        ULONG transferred = static_cast<ULONG>(FStream.Write(Buffer, Count));
        if (Done)
            *Done = transferred;
        return transferred == Count ? S_OK : STG_E_CANTSAVE;
    });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Seek(LARGE_INTEGER Move, DWORD Origin,
                                               ULARGE_INTEGER* NewPosition)
{
    TSeekOrigin seek_origin;
    switch (Origin) {
    case STREAM_SEEK_SET: seek_origin = TSeekOrigin::soBeginning; break;
    case STREAM_SEEK_CUR: seek_origin = TSeekOrigin::soCurrent; break;
    case STREAM_SEEK_END: seek_origin = TSeekOrigin::soEnd; break;
    default: return STG_E_INVALIDFUNCTION;
    }
    return Guarded([&] {
        std::int64_t position = FStream.Seek(Move.QuadPart, seek_origin);
        if (NewPosition)
            NewPosition->QuadPart = static_cast<ULONGLONG>(position);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::SetSize(ULARGE_INTEGER NewSize)
{
    if (NewSize.QuadPart > static_cast<ULONGLONG>(INT64_MAX))
        return STG_E_INVALIDFUNCTION;
    return Guarded([&] {
        FStream.SetSize(static_cast<std::int64_t>(NewSize.QuadPart));
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::CopyTo(IStream* Target, ULARGE_INTEGER Count,
                                                 ULARGE_INTEGER* Read, ULARGE_INTEGER* Written)
{
    if (Read)
        Read->QuadPart = 0;
    if (Written)
        Written->QuadPart = 0;
    if (!Target)
        return STG_E_INVALIDPOINTER;
    return Guarded([&] {
        std::vector<unsigned char> buffer(64 * 1024);
        ULONGLONG left = Count.QuadPart;
        ULONGLONG total_read = 0, total_written = 0;
        HRESULT result = S_OK;
        while (left > 0) {
            ULONG chunk = static_cast<ULONG>(std::min<ULONGLONG>(left, buffer.size()));
            ULONG got = static_cast<ULONG>(FStream.Read(buffer.data(), chunk));
            if (got == 0)
                break;
            total_read += got;
            ULONG put = 0;
            result = Target->Write(buffer.data(), got, &put);
            total_written += put;
            if (FAILED(result) || put != got)
                break;
            left -= got;
        }
        if (Read)
            Read->QuadPart = total_read;
        if (Written)
            Written->QuadPart = total_written;
        return FAILED(result) ? result : S_OK;
    });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Commit(DWORD)
{
    return S_OK;
}

// A TStream writes through at once, as a stream in direct mode does: nothing to revert.
HRESULT STDMETHODCALLTYPE TStreamAdapter::Revert()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return STG_E_INVALIDFUNCTION;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return STG_E_INVALIDFUNCTION;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Stat(STATSTG* Info, DWORD)
{
    if (!Info)
        return STG_E_INVALIDPOINTER;
    *Info = STATSTG{};
    return Guarded([&] {
        Info->type = STGTY_STREAM;
        Info->cbSize.QuadPart = static_cast<ULONGLONG>(FStream.Size());
        Info->grfMode = STGM_READWRITE;
        return S_OK;
    });
}

// Two adapters cannot share one TStream's position.
HRESULT STDMETHODCALLTYPE TStreamAdapter::Clone(IStream** Copy)
{
    if (Copy)
        *Copy = nullptr;
    return NotImplemented();
}

} // namespace zn
