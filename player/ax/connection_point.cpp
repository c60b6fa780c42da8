// Connection points: sinks by cookie.
#include "connection_point.h"

#include "control_log.h"

#include <olectl.h>

namespace zn::ax {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& container, const void* identity,
                                 const IID& iid, const char* name)
    : container_(container), identity_(identity), iid_(iid), name_(name)
{}

ConnectionPoint::~ConnectionPoint()
{
    DisconnectAll();
}

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IConnectionPoint)
        return E_NOINTERFACE;
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ConnectionPoint::AddRef()
{
    return container_.AddRef();
}

STDMETHODIMP_(ULONG) ConnectionPoint::Release()
{
    return container_.Release();
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    *iid = iid_;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (!container)
        return E_POINTER;
    *container = &container_;
    container_.AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    LogCall("IConnectionPoint.Advise", identity_)
        .Text("point", name_)
        .Address("sink", sink)
        .Record();
    if (!cookie)
        return Violation("IConnectionPoint.Advise without a cookie pointer"), E_POINTER;
    *cookie = 0;
    if (!sink)
        return Violation("IConnectionPoint.Advise with a null sink"), E_POINTER;
    IUnknown* held = nullptr;
    // The sink must answer the point's own interface: the control calls it through that.
    if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&held))) || !held) {
        Violation(std::string("the ") + name_ + " sink does not answer its interface");
        return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = nextCookie_++;
    sinks_.emplace_back(*cookie, held);
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie)
{
    LogCall("IConnectionPoint.Unadvise", identity_)
        .Text("point", name_)
        .Number("cookie", cookie)
        .Record();
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->first != cookie)
            continue;
        IUnknown* sink = it->second;
        sinks_.erase(it);
        sink->Release();
        return S_OK;
    }
    Violation(std::string("IConnectionPoint.Unadvise of ") + name_ + " with an unknown cookie");
    return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** connections)
{
    if (connections)
        *connections = nullptr;
    return E_NOTIMPL;
}

std::vector<IUnknown*> ConnectionPoint::Sinks() const
{
    std::vector<IUnknown*> sinks;
    for (const auto& [cookie, sink] : sinks_) {
        sink->AddRef();
        sinks.push_back(sink);
    }
    return sinks;
}

void ConnectionPoint::DisconnectAll()
{
    auto sinks = std::move(sinks_);
    sinks_.clear();
    for (const auto& [cookie, sink] : sinks)
        sink->Release();
}

} // namespace zn::ax
