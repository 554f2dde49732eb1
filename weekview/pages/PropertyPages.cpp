// The week view control's General, More and About pages: which property each dialog
// control edits, in the order the pages exchange them, and the lists' items.
#include "PropertyPages.h"

#include <iterator>
#include <new>

#include "PropPageBase.h"
#include "PropPageResource.h"
#include "PropertyList.h"
#include "com/SeptenaIds.h"

namespace septena_pages {
namespace {

using namespace septena;
using weekview::PropertyType;

// What a page needs of a property: its name for messages, its DISPID and type.
struct ListedProperty {
    const wchar_t* name;
    DISPID dispid;
    PropertyType type;
};
#define SEPTENA_PAGE_PROPERTY(Name, Dispid, Type, Kept, Default) \
    {L"" #Name, Dispid, PropertyType::Type},
constexpr ListedProperty kListed[] = {WEEKVIEW_PROPERTIES(SEPTENA_PAGE_PROPERTY)};
#undef SEPTENA_PAGE_PROPERTY

// The dialog control that shows a property of this type.
constexpr FieldKind KindOf(PropertyType type)
{
    return type == PropertyType::Enum   ? FieldKind::ListIndex
           : type == PropertyType::Bool ? FieldKind::Check
           : type == PropertyType::Text ? FieldKind::Text
                                        : FieldKind::Integer;
}

// The field of dialog control `controlId` for the property `dispid`; with low <= high
// the typed value must lie in that range.
constexpr PageField Field(int controlId, DISPID dispid, int low = 0, int high = -1)
{
    for (const ListedProperty& p : kListed) {
        if (p.dispid == dispid)
            return PageField{controlId, p.name, dispid, KindOf(p.type), low <= high, low, high};
    }
    throw "a page field names a property the control does not have";
}

constexpr PageField kGeneralFields[] = {
    Field(IDC_BORDER_TYPE, kBorderType),
    Field(IDC_DAY, kDay, 0, 31),
    Field(IDC_HEADER_BORDER, kHeaderBorder),
    Field(IDC_MONTH, kMonth, 1, 12),
    Field(IDC_PRIME_TIME_END, kPrimeTimeEnd),
    Field(IDC_PRIME_TIME_START, kPrimeTimeStart),
    Field(IDC_TIME_START, kTimeStart),
    Field(IDC_TIME_END, kTimeEnd),
    Field(IDC_TIME_BORDER, kTimeBorder),
    Field(IDC_TIME_UNITS, kTimeUnits),
    Field(IDC_YEAR, kYear),
};

constexpr PageField kMoreFields[] = {
    Field(IDC_DAY_COLUMNS, kDayColumns, 1, 31),
    Field(IDC_DAY_HEADER, kDayHeader),
    Field(IDC_ENABLED, kEnabled),
    Field(IDC_HEADER_HEIGHT, kHeaderHeight),
    Field(IDC_HEADER_Y_OFFSET, kHeaderYOffset),
    Field(IDC_HEIGHT_OFFSET, kHeightOffset),
    Field(IDC_INCLUDE_AM_PM, kIncludeAmPm),
    Field(IDC_MILITARY_TIME, kMilitaryTime),
    Field(IDC_TIME_TEXT_WIDTH, kTimeTextWidth),
    Field(IDC_WEEKEND_PRIME, kWeekendPrime),
    Field(IDC_TIME_TYPE, kTimeType),
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
