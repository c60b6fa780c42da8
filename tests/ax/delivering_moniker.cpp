// Delivering bytes to the callback of the bind context.
#include "delivering_moniker.h"

namespace zn::test {

STDMETHODIMP DeliveringMoniker::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IMoniker && iid != IID_IPersistStream &&
        iid != IID_IPersist)
        return E_NOINTERFACE;
    *object = static_cast<IMoniker*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) DeliveringMoniker::Release()
{
    const ULONG count = --references_;
    if (count == 0)
        delete this;
    return count;
}

STDMETHODIMP DeliveringMoniker::BindToStorage(IBindCtx* context, IMoniker*, REFIID, void** object)
{
    if (object)
        *object = nullptr;
    IUnknown* holder = nullptr;
    if (!context ||
        FAILED(context->GetObjectParam(const_cast<LPOLESTR>(L"_BSCB_Holder_"), &holder)))
        return E_FAIL;
    IBindStatusCallback* callback = nullptr;
    holder->QueryInterface(IID_IBindStatusCallback, reinterpret_cast<void**>(&callback));
    holder->Release();
    if (!callback)
        return E_FAIL;
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    const ULONG half = static_cast<ULONG>(bytes_.size() / 2);
    stream->Write(bytes_.data(), half, nullptr);
    stream->Seek({}, STREAM_SEEK_SET, nullptr);
    STGMEDIUM medium{};
    medium.tymed = TYMED_ISTREAM;
    medium.pstm = stream;
    callback->OnStartBinding(0, nullptr);
    callback->OnProgress(100, 100, BINDSTATUS_ENDDOWNLOADDATA, L"");
    callback->OnDataAvailable(BSCF_FIRSTDATANOTIFICATION | BSCF_LASTDATANOTIFICATION, half, nullptr,
                              &medium);
    // The rest lands behind what the callback read, where it reads next.
    ULARGE_INTEGER read_position{};
    stream->Seek({}, STREAM_SEEK_CUR, &read_position);
    LARGE_INTEGER end{};
    end.QuadPart = half;
    stream->Seek(end, STREAM_SEEK_SET, nullptr);
    stream->Write(bytes_.data() + half, static_cast<ULONG>(bytes_.size() - half), nullptr);
    LARGE_INTEGER back{};
    back.QuadPart = static_cast<LONGLONG>(read_position.QuadPart);
    stream->Seek(back, STREAM_SEEK_SET, nullptr);
    callback->OnStopBinding(S_OK, L"");
    callback->Release();
    stream->Release();
    return S_OK;
}

} // namespace zn::test
