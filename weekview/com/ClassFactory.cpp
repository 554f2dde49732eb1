// The module's class factories.
#include "ClassFactory.h"

#include <new>

#include "ComModule.h"

namespace septena {

ClassFactory::ClassFactory(REFCLSID clsid, CreateFunction create) : clsid_(clsid), create_(create)
{
    LockModule();
}

ClassFactory::~ClassFactory()
{
    UnlockModule();
}

STDMETHODIMP ClassFactory::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ClassFactory::AddRef()
{
    return InterlockedIncrement(&refs_);
}

STDMETHODIMP_(ULONG) ClassFactory::Release()
{
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (outer != nullptr)
        return CLASS_E_NOAGGREGATION;
    return create_(clsid_, riid, out);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock)
{
    if (lock)
        LockModule();
    else
        UnlockModule();
    return S_OK;
}

HRESULT MakeClassFactory(REFCLSID clsid, CreateFunction create, REFIID riid, void** out)
{
    auto* factory = new (std::nothrow) ClassFactory(clsid, create);
    if (factory == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(riid, out);
    factory->Release();
    return hr;
}

}  // namespace septena
