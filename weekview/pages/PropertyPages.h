// The week view control's own property pages (General, More, About): their class
// identities and the one entry the module's class factories call to make them.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

// General page `CSeptenaPropPage`: date, time range, units and borders.
inline constexpr CLSID CLSID_SeptenaGeneralPage = {
    0x3266CE67, 0x192F, 0x11D0, {0x9F, 0xFC, 0xE9, 0x98, 0x3B, 0x83, 0xC7, 0x07}};
// More page `CMorePropPage`: geometry, weekday captions and time texts.
inline constexpr CLSID CLSID_SeptenaMorePage = {
    0x37C427A1, 0x255E, 0x11D0, {0x9F, 0xFC, 0xE9, 0x98, 0x3B, 0x83, 0xC7, 0x07}};
// About page `CAboutPropPage`: shows the control's name only.
inline constexpr CLSID CLSID_SeptenaAboutPage = {
    0x37C427A4, 0x255E, 0x11D0, {0x9F, 0xFC, 0xE9, 0x98, 0x3B, 0x83, 0xC7, 0x07}};

// Creates the page object of `clsid` and answers its interface `riid` (IUnknown,
// IPropertyPage) in *out. CLASS_E_CLASSNOTAVAILABLE for any other class,
// E_NOINTERFACE, E_OUTOFMEMORY, E_POINTER as usual; *out is null on failure.
// The page talks to the objects it edits through IDispatch only.
HRESULT CreateSeptenaPropertyPage(REFCLSID clsid, REFIID riid, void** out);

// Page objects alive now; the module may unload only when this is 0.
LONG SeptenaPropertyPagesAlive();
