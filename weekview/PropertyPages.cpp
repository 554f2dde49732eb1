// The week view control's General, More and About pages: which property each dialog
// control edits, in the order the pages exchange them, and the lists' items.
#include "PropertyPages.h"

#include <iterator>
#include <new>

#include "PropPageBase.h"
#include "PropPageResource.h"
#include "com/SeptenaIds.h"

namespace septena_pages {
namespace {

// The control's own members by DISPID, and the stock Enabled.
using namespace septena;
constexpr DISPID kEnabled = DISPID_ENABLED;

using K = FieldKind;

const PageField kGeneralFields[] = {
    {IDC_BORDER_TYPE, L"BorderType", kBorderType, K::ListIndex},
    {IDC_DAY, L"Day", kDay, K::Integer, true, 0, 31},
    {IDC_HEADER_BORDER, L"HeaderBorder", kHeaderBorder, K::ListIndex},
    {IDC_MONTH, L"Month", kMonth, K::Integer, true, 1, 12},
    {IDC_PRIME_TIME_END, L"PrimeTimeEnd", kPrimeTimeEnd, K::Integer},
    {IDC_PRIME_TIME_START, L"PrimeTimeStart", kPrimeTimeStart, K::Integer},
    {IDC_TIME_START, L"TimeStart", kTimeStart, K::Integer},
    {IDC_TIME_END, L"TimeEnd", kTimeEnd, K::Integer},
    {IDC_TIME_BORDER, L"TimeBorder", kTimeBorder, K::ListIndex},
    {IDC_TIME_UNITS, L"TimeUnits", kTimeUnits, K::ListIndex},
    {IDC_YEAR, L"Year", kYear, K::Integer},
};

const PageField kMoreFields[] = {
    {IDC_DAY_COLUMNS, L"DayColumns", kDayColumns, K::Integer, true, 1, 31},
    {IDC_DAY_HEADER, L"DayHeader", kDayHeader, K::Text},
    {IDC_ENABLED, L"Enabled", kEnabled, K::Check},
    {IDC_HEADER_HEIGHT, L"HeaderHeight", kHeaderHeight, K::Integer},
    {IDC_HEADER_Y_OFFSET, L"HeaderYOffset", kHeaderYOffset, K::Integer},
    {IDC_HEIGHT_OFFSET, L"HeightOffset", kHeightOffset, K::Integer},
    {IDC_INCLUDE_AM_PM, L"IncludeAmPm", kIncludeAmPm, K::Check},
    {IDC_MILITARY_TIME, L"MilitaryTime", kMilitaryTime, K::Check},
    {IDC_TIME_TEXT_WIDTH, L"TimeTextWidth", kTimeTextWidth, K::Integer},
    {IDC_WEEKEND_PRIME, L"WeekendPrime", kWeekendPrime, K::Check},
    {IDC_TIME_TYPE, L"TimeType", kTimeType, K::ListIndex},
};

// Items begin with their value, so the lists' sorting keeps this order.
const wchar_t* const kUnitItems[] = {L"0 - 5 Minutes", L"1 - 10 Minutes", L"2 - 15 Minutes",
                                     L"3 - 30 Minutes", L"4 - 60 Minutes"};
const wchar_t* const kBorderItems[] = {L"0 - Regular", L"1 - None", L"2 - Raised", L"3 - Lowered"};
const wchar_t* const kTimeTypeItems[] = {L"0 - Full", L"1 - Split"};

const ListFill kGeneralLists[] = {
    {IDC_TIME_UNITS, kUnitItems, 5},
    {IDC_BORDER_TYPE, kBorderItems, 4},
    {IDC_TIME_BORDER, kBorderItems, 4},
    {IDC_HEADER_BORDER, kBorderItems, 4},
};
const ListFill kMoreLists[] = {{IDC_TIME_TYPE, kTimeTypeItems, 2}};

const PageDescription kGeneralPage = {IDD_SEPTENA_GENERAL, IDS_SEPTENA_GENERAL_CAPTION,
                                      kGeneralFields,      std::size(kGeneralFields),
                                      kGeneralLists,       std::size(kGeneralLists)};
const PageDescription kMorePage = {IDD_SEPTENA_MORE, IDS_SEPTENA_MORE_CAPTION,
                                   kMoreFields,      std::size(kMoreFields),
                                   kMoreLists,       std::size(kMoreLists)};
const PageDescription kAboutPage = {
    IDD_SEPTENA_ABOUT, IDS_SEPTENA_ABOUT_CAPTION, nullptr, 0, nullptr, 0};

const PageDescription* PageOf(REFCLSID clsid)
{
    if (IsEqualCLSID(clsid, CLSID_SeptenaGeneralPage))
        return &kGeneralPage;
    if (IsEqualCLSID(clsid, CLSID_SeptenaMorePage))
        return &kMorePage;
    if (IsEqualCLSID(clsid, CLSID_SeptenaAboutPage))
        return &kAboutPage;
    return nullptr;
}

}  // namespace
}  // namespace septena_pages

HRESULT CreateSeptenaPropertyPage(REFCLSID clsid, REFIID riid, void** out)
{
    using namespace septena_pages;
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    const PageDescription* page = PageOf(clsid);
    if (page == nullptr)
        return CLASS_E_CLASSNOTAVAILABLE;
    auto* object = new (std::nothrow) PropertyPageObject(*page);
    if (object == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
}

LONG SeptenaPropertyPagesAlive()
{
    return septena_pages::PropertyPageObject::Alive();
}
