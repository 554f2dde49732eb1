// The module's own type library, loaded from its "TYPELIB" resource once and kept
// while objects of the module live.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace septena {

// The type information of `guid` (the dispatch interface, the event interface or the
// coclass), with a reference for the caller.
HRESULT SeptenaTypeInfo(REFGUID guid, ITypeInfo** out);
// Loads the library without registering it (registration does that on purpose).
HRESULT LoadSeptenaTypeLib(ITypeLib** out);
// Drops the kept library; called when the module is about to be unloaded.
void ReleaseSeptenaTypeLib();

}  // namespace septena
