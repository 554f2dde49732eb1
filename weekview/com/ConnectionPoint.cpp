// Connection points of the control: advise, unadvise and firing to the sinks.
#include "ConnectionPoint.h"

#include <new>

namespace septena {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& container, REFIID iid)
    : container_(container), iid_(iid)
{
}

ConnectionPoint::~ConnectionPoint()
{
    UnadviseAll();
}

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *out = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
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
    if (iid == nullptr)
        return E_POINTER;
    *iid = iid_;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = &container_;
    container_.AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (sink == nullptr || cookie == nullptr)
        return E_POINTER;
    *cookie = 0;
    IUnknown* typed = nullptr;
    if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&typed))))
        return CONNECT_E_CANNOTCONNECT;
    try {
        connections_.push_back(Connection{nextCookie_, typed});
    } catch (const std::bad_alloc&) {
        typed->Release();
        return E_OUTOFMEMORY;
    }
    *cookie = nextCookie_++;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie)
{
    for (auto it = connections_.begin(); it != connections_.end(); ++it) {
        if (it->cookie == cookie) {
            IUnknown* sink = it->sink;
            connections_.erase(it);
            sink->Release();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out)
{
    if (out != nullptr)
        *out = nullptr;
    return E_NOTIMPL;
}

std::vector<IUnknown*> ConnectionPoint::Sinks() const
{
    std::vector<IUnknown*> sinks;
    sinks.reserve(connections_.size());
    for (const Connection& c : connections_) {
        c.sink->AddRef();
        sinks.push_back(c.sink);
    }
    return sinks;
}

void ConnectionPoint::UnadviseAll()
{
    std::vector<Connection> connections;
    connections.swap(connections_);
    for (const Connection& c : connections)
        c.sink->Release();
}

void FireDispatchEvent(const ConnectionPoint& point, DISPID dispid, VARIANTARG* reversedArgs,
                       UINT count)
{
    DISPPARAMS params{reversedArgs, nullptr, count, 0};
    for (IUnknown* sink : point.Sinks()) {
        static_cast<IDispatch*>(sink)->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT,
                                              DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        sink->Release();
    }
}

void FirePropertyChanged(const ConnectionPoint& point, DISPID dispid)
{
    for (IUnknown* sink : point.Sinks()) {
        static_cast<IPropertyNotifySink*>(sink)->OnChanged(dispid);
        sink->Release();
    }
}

}  // namespace septena
