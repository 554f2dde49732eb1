// A class factory that makes its objects through one creation function.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace septena {

// Creates the object of `clsid` and answers `riid` in *out.
using CreateFunction = HRESULT (*)(REFCLSID clsid, REFIID riid, void** out);

class ClassFactory final : public IClassFactory {
public:
    ClassFactory(REFCLSID clsid, CreateFunction create);
    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IClassFactory
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    ~ClassFactory();
    LONG refs_ = 1;
    CLSID clsid_;
    CreateFunction create_;
};

// Answers a new factory for `clsid` in *out.
HRESULT MakeClassFactory(REFCLSID clsid, CreateFunction create, REFIID riid, void** out);

}  // namespace septena
