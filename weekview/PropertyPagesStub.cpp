// Stand-in for the property pages until they are built: no page class is available.
#include "PropertyPages.h"

HRESULT CreateSeptenaPropertyPage(REFCLSID, REFIID, void** out)
{
    if (out != nullptr)
        *out = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

LONG SeptenaPropertyPagesAlive()
{
    return 0;
}
