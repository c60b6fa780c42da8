// TStreamAdapter: a COM IStream over a TStream, for handing framework streams to COM.
#pragma once

#include "zintara/framework/streams.h"

#include <objidl.h>

namespace zn {

enum class TStreamOwnership { soReference, soOwned };

// A real COM object: reference counted, freed on its last Release (with the stream when it
// owns it). Every method catches and answers with an HRESULT.
class TStreamAdapter final : public IStream {
public:
    // Starts with one reference, which the caller owns.
    TStreamAdapter(TStream& Stream, TStreamOwnership Ownership);
    TStreamAdapter(const TStreamAdapter&) = delete;
    TStreamAdapter& operator=(const TStreamAdapter&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Riid, void** Object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Read(void* Buffer, ULONG Count, ULONG* Done) override;
    HRESULT STDMETHODCALLTYPE Write(const void* Buffer, ULONG Count, ULONG* Done) override;

    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER Move, DWORD Origin,
                                   ULARGE_INTEGER* NewPosition) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER NewSize) override;
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* Target, ULARGE_INTEGER Count, ULARGE_INTEGER* Read,
                                     ULARGE_INTEGER* Written) override;
    HRESULT STDMETHODCALLTYPE Commit(DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE Revert() override;
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER Offset, ULARGE_INTEGER Count,
                                         DWORD Type) override;
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER Offset, ULARGE_INTEGER Count,
                                           DWORD Type) override;
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* Info, DWORD Flags) override;
    HRESULT STDMETHODCALLTYPE Clone(IStream** Copy) override;

    TStream& Stream() const { return FStream; }

private:
    ~TStreamAdapter();

    TStream& FStream;
    TStreamOwnership FOwnership;
    ULONG FReferences = 1;
};

} // namespace zn
