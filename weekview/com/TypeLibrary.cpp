// Loading the module's type library.
#include "TypeLibrary.h"

#include "ComModule.h"

namespace septena {
namespace {

ITypeLib* g_typeLib = nullptr;

}  // namespace

HRESULT LoadSeptenaTypeLib(ITypeLib** out)
{
    *out = nullptr;
    wchar_t path[MAX_PATH];
    if (!ModulePath(path, MAX_PATH))
        return HRESULT_FROM_WIN32(GetLastError());
    return LoadTypeLibEx(path, REGKIND_NONE, out);
}

HRESULT SeptenaTypeInfo(REFGUID guid, ITypeInfo** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (g_typeLib == nullptr) {
        const HRESULT hr = LoadSeptenaTypeLib(&g_typeLib);
        if (FAILED(hr))
            return hr;
    }
    return g_typeLib->GetTypeInfoOfGuid(guid, out);
}

void ReleaseSeptenaTypeLib()
{
    if (g_typeLib != nullptr) {
        g_typeLib->Release();
        g_typeLib = nullptr;
    }
}

}  // namespace septena
