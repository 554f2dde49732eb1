// The enumeration callbacks are plain functions with the system's calling convention,
// which a lambda cannot be on the 32-bit build.
#include "WindowSearch.h"

namespace testsupport {
namespace {

struct Search {
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    if (!(*search->match)(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindThreadWindow(const std::function<bool(HWND)>& match)
{
    Search search{&match, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindChildWindow(HWND parent, const std::function<bool(HWND)>& match)
{
    Search search{&match, nullptr};
    EnumChildWindows(parent, Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace testsupport
