// A connection point held inside its container object: the container's event source
// (_DSeptenaEvents) and its property-change notification (IPropertyNotifySink).
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <vector>

namespace septena {

class ConnectionPoint : public IConnectionPoint {
public:
    // The container owns this point; the point's references are the container's.
    ConnectionPoint(IConnectionPointContainer& container, REFIID iid);
    ~ConnectionPoint();
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IConnectionPoint
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** out) override;

    const IID& Iid() const { return iid_; }
    // The sinks now, each with a reference the caller releases; a sink may
    // unadvise (or the host drop the control) while it is being called.
    std::vector<IUnknown*> Sinks() const;
    // Drops every connection (the control is going away).
    void UnadviseAll();

private:
    struct Connection {
        DWORD cookie;
        IUnknown* sink;
    };
    IConnectionPointContainer& container_;
    IID iid_;
    std::vector<Connection> connections_;
    DWORD nextCookie_ = 1;
};

// Calls `dispid` on every dispatch sink of `point` with the arguments in reverse
// order (as DISPPARAMS carries them).
void FireDispatchEvent(const ConnectionPoint& point, DISPID dispid, VARIANTARG* reversedArgs,
                       UINT count);

// Tells every property-change sink of `point` that `dispid` changed.
void FirePropertyChanged(const ConnectionPoint& point, DISPID dispid);

}  // namespace septena
