// A file the control fetches through its container: the control's own bind status callback,
// registered in the bind context under "_BSCB_Holder_", gathering the bytes until the binding
// stops. The moniker comes from the container's bind host; a name it declines (or every name,
// without a bind host) is fetched by the control itself only when it is a file path. The
// stream of the first OnDataAvailable is held and read again when the binding stops.
#pragma once

#include <urlmon.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zn::ax {

class Control;

class MovieDownload final : public IBindStatusCallback {
public:
    enum class Purpose { Movie, MovieFile };

    MovieDownload(Control& owner, const void* identity, std::wstring url, Purpose purpose);
    MovieDownload(const MovieDownload&) = delete;
    MovieDownload& operator=(const MovieDownload&) = delete;

    // Asks the bind host (may be null) for a moniker and binds it; callbacks may arrive inside.
    HRESULT Start(IBindHost* bindHost);
    // The control is going: no more calls reach it.
    void Detach() { owner_ = nullptr; }

    const std::wstring& Url() const { return url_; }
    Purpose GetPurpose() const { return purpose_; }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP OnStartBinding(DWORD reserved, IBinding* binding) override;
    STDMETHODIMP GetPriority(LONG* priority) override;
    STDMETHODIMP OnLowResource(DWORD reserved) override;
    STDMETHODIMP OnProgress(ULONG progress, ULONG maximum, ULONG status, LPCWSTR text) override;
    STDMETHODIMP OnStopBinding(HRESULT status, LPCWSTR error) override;
    STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override;
    STDMETHODIMP OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format,
                                 STGMEDIUM* medium) override;
    STDMETHODIMP OnObjectAvailable(REFIID iid, IUnknown* object) override;

private:
    ~MovieDownload();
    HRESULT Bind(IBindHost* bindHost);
    void Read(IStream& stream);
    void Finish(HRESULT status);

    LONG references_ = 1;
    Control* owner_;
    const void* identity_;
    std::wstring url_;
    Purpose purpose_;
    std::vector<std::uint8_t> bytes_;
    IStream* stream_ = nullptr;
    bool started_ = false;
    bool finished_ = false;
};

} // namespace zn::ax
