// Identities of the week view control: class, interfaces, type library, the pages it
// offers, its DISPIDs and its registry facts.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "PropPageResource.h"
#include "PropertyList.h"
#include "SeptenaNames.h"

namespace septena {

inline constexpr CLSID CLSID_Septena = {
    0x3266CE66, 0x192F, 0x11D0, {0x9F, 0xFC, 0xE9, 0x98, 0x3B, 0x83, 0xC7, 0x07}};
inline constexpr IID DIID_DSeptena = {
    0x3266CE64, 0x192F, 0x11D0, {0x9F, 0xFC, 0xE9, 0x98, 0x3B, 0x83, 0xC7, 0x07}};
inline constexpr IID DIID_DSeptenaEvents = {
    0x3266CE65, 0x192F, 0x11D0, {0x9F, 0xFC, 0xE9, 0x98, 0x3B, 0x83, 0xC7, 0x07}};
inline constexpr GUID LIBID_SEPTENALib = {
    0x3266CE63, 0x192F, 0x11D0, {0x9F, 0xFC, 0xE9, 0x98, 0x3B, 0x83, 0xC7, 0x07}};
// The system's stock colour and font pages.
inline constexpr CLSID CLSID_StockColorPage = {
    0x0BE35201, 0x8F91, 0x11CE, {0x9D, 0xE3, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
inline constexpr CLSID CLSID_StockFontPage = {
    0x0BE35200, 0x8F91, 0x11CE, {0x9D, 0xE3, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};

constexpr const char* kProgId = SEPTENA_PROGID;
constexpr const char* kUserTypeName = SEPTENA_CONTROL_NAME;
constexpr DWORD kMiscStatus = 131473;
constexpr DWORD kPropertySetVersion = 65536;  // version 1.0 of the persistent set
constexpr WORD kTypeLibMajor = 1;
constexpr WORD kTypeLibMinor = 0;

// String and bitmap resources of the module (the pages' names are in the pages' own
// resource file).
constexpr int kStringControlName = 1;
constexpr int kStringGeneralPageName = 2;
constexpr int kStringAboutPageName = IDS_SEPTENA_ABOUT_NAME;
constexpr int kStringMorePageName = IDS_SEPTENA_MORE_NAME;
constexpr int kToolboxBitmap = 1;

// Members of _DSeptena: the properties from the table of properties (the stock ones
// under their stock DISPIDs), then the methods, whose DISPIDs follow the properties'.
#define SEPTENA_PROPERTY_DISPID(Name, Dispid, Type, Kept, Default) k##Name = Dispid,
enum Dispid : DISPID {
    WEEKVIEW_PROPERTIES(SEPTENA_PROPERTY_DISPID)  // the properties, then the methods
    kFindDay = 34,
    kFindMonth,
    kFindYear,
    kAddAppointment,
    kAddKeyAppointment,
    kDeleteAppointment,
    kDeleteKeyAppointment,
    kKeyValue,
    kClearAppointments,
    kFirstDay,
    kMoveKeyAppointment,
    kAppointments,
    kAppointKeyID,
    kAppointTimeStart,
    kAppointTimeEnd,
    kAppointDateStart,
    kAppointDateEnd,
};
#undef SEPTENA_PROPERTY_DISPID
static_assert(kBackColor == DISPID_BACKCOLOR && kForeColor == DISPID_FORECOLOR &&
              kEnabled == DISPID_ENABLED && kFont == DISPID_FONT && khWnd == DISPID_HWND);
static_assert(kHourFont == 33 && kFindDay == 34 && kAppointDateEnd == 50);

// Events of _DSeptenaEvents.
constexpr DISPID kEventTimeSelect = 1;
constexpr DISPID kEventRightClick = 2;
constexpr DISPID kEventError = -608;  // the stock error DISPID with two arguments

// The errors the control raises through automation.
constexpr HRESULT kCtlOutOfMemory = MAKE_SCODE(SEVERITY_ERROR, FACILITY_CONTROL, 7);
constexpr HRESULT kCtlSetNotSupported = MAKE_SCODE(SEVERITY_ERROR, FACILITY_CONTROL, 383);

}  // namespace septena
