// One connection point of the control (property-change notifications or the events): the sinks
// connected to it by cookie, each queried for the point's interface when it connects.
#pragma once

#include <ocidl.h>

#include <utility>
#include <vector>

namespace zn::ax {

class ConnectionPoint final : public IConnectionPoint {
public:
    // Lives inside its container, whose reference count it shares; Identity names the control
    // in the log.
    ConnectionPoint(IConnectionPointContainer& container, const void* identity, const IID& iid,
                    const char* name);
    ~ConnectionPoint();
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

    const IID& Iid() const { return iid_; }
    // The connected sinks, each with a reference for the caller, so that a sink that disconnects
    // while the others are called is still safe to call.
    std::vector<IUnknown*> Sinks() const;
    bool Connected() const { return !sinks_.empty(); }
    // Releases every sink (the control's last release).
    void DisconnectAll();

private:
    IConnectionPointContainer& container_;
    const void* identity_;
    IID iid_;
    const char* name_;
    DWORD nextCookie_ = 1;
    std::vector<std::pair<DWORD, IUnknown*>> sinks_;
};

} // namespace zn::ax
