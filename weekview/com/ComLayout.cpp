// The records the control exchanges with containers and the OLE libraries, pinned to
// their 32-bit layout: a container built by another compiler reads them byte for byte.
#include <windows.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

#include <cstddef>

#ifndef _WIN64
static_assert(sizeof(VARIANT) == 16, "VARIANT");
static_assert(offsetof(VARIANT, lVal) == 8, "VARIANT value");
static_assert(sizeof(DISPPARAMS) == 16, "DISPPARAMS");
static_assert(sizeof(EXCEPINFO) == 32, "EXCEPINFO");
static_assert(offsetof(EXCEPINFO, scode) == 28, "EXCEPINFO scode");
static_assert(sizeof(CONTROLINFO) == 16, "CONTROLINFO");
static_assert(sizeof(FONTDESC) == 32, "FONTDESC");
static_assert(offsetof(FONTDESC, cySize) == 8, "FONTDESC size");
static_assert(sizeof(CAUUID) == 8, "CAUUID");
static_assert(sizeof(OLEINPLACEFRAMEINFO) == 20, "OLEINPLACEFRAMEINFO");
static_assert(sizeof(RECTL) == 16 && sizeof(SIZEL) == 8, "RECTL, SIZEL");
static_assert(sizeof(VARIANT_BOOL) == 2 && sizeof(OLE_COLOR) == 4, "automation scalars");
#endif
