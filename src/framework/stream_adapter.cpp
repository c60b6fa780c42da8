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
HRESULT Guarded(F&& Body) {
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
    : FStream(Stream), FOwnership(Ownership) {}

TStreamAdapter::~TStreamAdapter() {
    if (FOwnership == TStreamOwnership::soOwned) delete &FStream;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::QueryInterface(REFIID Riid, void** Object) {
    if (!Object) return E_POINTER;
    if (IsEqualIID(Riid, IID_IUnknown) || IsEqualIID(Riid, IID_ISequentialStream) || IsEqualIID(Riid, IID_IStream)) {
        *Object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TStreamAdapter::AddRef() { return ++FReferences; }

ULONG STDMETHODCALLTYPE TStreamAdapter::Release() {
    ULONG Left = --FReferences;
    if (Left == 0) delete this;
    return Left;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Read(void* Buffer, ULONG Count, ULONG* Done) {
    if (Done) *Done = 0;
    if (!Buffer) return STG_E_INVALIDPOINTER;
    return Guarded([&] {
        ULONG Transferred = static_cast<ULONG>(FStream.Read(Buffer, Count));
        if (Done) *Done = Transferred;
        return Transferred == Count ? S_OK : S_FALSE;
    });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Write(const void* Buffer, ULONG Count, ULONG* Done) {
    if (Done) *Done = 0;
    if (!Buffer) return STG_E_INVALIDPOINTER;
    return Guarded([&] {
        ULONG Transferred = static_cast<ULONG>(FStream.Write(Buffer, Count));
        if (Done) *Done = Transferred;
        return Transferred == Count ? S_OK : STG_E_CANTSAVE;
    });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Seek(LARGE_INTEGER Move, DWORD Origin, ULARGE_INTEGER* NewPosition) {
    TSeekOrigin SeekOrigin;
    switch (Origin) {
    case STREAM_SEEK_SET: SeekOrigin = TSeekOrigin::soBeginning; break;
    case STREAM_SEEK_CUR: SeekOrigin = TSeekOrigin::soCurrent; break;
    case STREAM_SEEK_END: SeekOrigin = TSeekOrigin::soEnd; break;
    default: return STG_E_INVALIDFUNCTION;
    }
    return Guarded([&] {
        std::int64_t Position = FStream.Seek(Move.QuadPart, SeekOrigin);
        if (NewPosition) NewPosition->QuadPart = static_cast<ULONGLONG>(Position);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::SetSize(ULARGE_INTEGER NewSize) {
    if (NewSize.QuadPart > static_cast<ULONGLONG>(INT64_MAX)) return STG_E_INVALIDFUNCTION;
    return Guarded([&] {
        FStream.SetSize(static_cast<std::int64_t>(NewSize.QuadPart));
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::CopyTo(IStream* Target, ULARGE_INTEGER Count, ULARGE_INTEGER* Read,
                                                 ULARGE_INTEGER* Written) {
    if (Read) Read->QuadPart = 0;
    if (Written) Written->QuadPart = 0;
    if (!Target) return STG_E_INVALIDPOINTER;
    return Guarded([&] {
        std::vector<unsigned char> Buffer(64 * 1024);
        ULONGLONG Left = Count.QuadPart;
        ULONGLONG TotalRead = 0, TotalWritten = 0;
        HRESULT Result = S_OK;
        while (Left > 0) {
            ULONG Chunk = static_cast<ULONG>(std::min<ULONGLONG>(Left, Buffer.size()));
            ULONG Got = static_cast<ULONG>(FStream.Read(Buffer.data(), Chunk));
            if (Got == 0) break;
            TotalRead += Got;
            ULONG Put = 0;
            Result = Target->Write(Buffer.data(), Got, &Put);
            TotalWritten += Put;
            if (FAILED(Result) || Put != Got) break;
            Left -= Got;
        }
        if (Read) Read->QuadPart = TotalRead;
        if (Written) Written->QuadPart = TotalWritten;
        return FAILED(Result) ? Result : S_OK;
    });
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Commit(DWORD) { return S_OK; }

// A TStream writes through at once, as a stream in direct mode does: nothing to revert.
HRESULT STDMETHODCALLTYPE TStreamAdapter::Revert() { return S_OK; }

HRESULT STDMETHODCALLTYPE TStreamAdapter::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
    return STG_E_INVALIDFUNCTION;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
    return STG_E_INVALIDFUNCTION;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Stat(STATSTG* Info, DWORD) {
    if (!Info) return STG_E_INVALIDPOINTER;
    *Info = STATSTG{};
    return Guarded([&] {
        Info->type = STGTY_STREAM;
        Info->cbSize.QuadPart = static_cast<ULONGLONG>(FStream.Size());
        Info->grfMode = STGM_READWRITE;
        return S_OK;
    });
}

// Two adapters cannot share one TStream's position.
HRESULT STDMETHODCALLTYPE TStreamAdapter::Clone(IStream** Copy) {
    if (Copy) *Copy = nullptr;
    return NotImplemented();
}

} // namespace zn
