// The table of the week view's automation properties, expanded from PropertyList.h:
// each property's name, DISPID, type, whether it is saved, and where the control keeps
// and sets it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "PropertyList.h"
#include "WeekViewControl.h"

namespace weekview {

struct PropertyInfo {
    const char* name;
    const wchar_t* wideName;
    int32_t dispid;
    PropertyType type;
    bool saved;
    // Where a saved Short or Enum, Bool or Color property is kept.
    int16_t DisplayProperties::*number;
    bool DisplayProperties::*flag;
    OleColor DisplayProperties::*color;
    // The setter a put runs (colours go through WeekViewControl::SetColor).
    void (WeekViewControl::*setShort)(int16_t);
    void (WeekViewControl::*setLong)(int32_t);  // Enum and Long
    void (WeekViewControl::*setBool)(bool);
};

// Members and setters by how a property is kept and its type.
#define WEEKVIEW_ACCESS_Saved_Short(N) \
    &DisplayProperties::N, nullptr, nullptr, &WeekViewControl::Set##N, nullptr, nullptr
#define WEEKVIEW_ACCESS_Saved_Enum(N) \
    &DisplayProperties::N, nullptr, nullptr, nullptr, &WeekViewControl::Set##N, nullptr
#define WEEKVIEW_ACCESS_Saved_Bool(N) \
    nullptr, &DisplayProperties::N, nullptr, nullptr, nullptr, &WeekViewControl::Set##N
#define WEEKVIEW_ACCESS_Saved_Color(N) \
    nullptr, nullptr, &DisplayProperties::N, nullptr, nullptr, nullptr
#define WEEKVIEW_ACCESS_NONE(N) nullptr, nullptr, nullptr, nullptr, nullptr, nullptr
#define WEEKVIEW_ACCESS_Saved_Text WEEKVIEW_ACCESS_NONE
#define WEEKVIEW_ACCESS_Saved_Font WEEKVIEW_ACCESS_NONE
#define WEEKVIEW_ACCESS_View_Handle WEEKVIEW_ACCESS_NONE
#define WEEKVIEW_ACCESS_View_Short(N) \
    nullptr, nullptr, nullptr, &WeekViewControl::Set##N, nullptr, nullptr
#define WEEKVIEW_ACCESS_View_Long(N) \
    nullptr, nullptr, nullptr, nullptr, &WeekViewControl::Set##N, nullptr

#define WEEKVIEW_SAVED_Saved true
#define WEEKVIEW_SAVED_View false

#define WEEKVIEW_PROPERTY_INFO(Name, Dispid, Type, Kept, Default) \
    PropertyInfo{#Name,                                           \
                 L"" #Name,                                       \
                 Dispid,                                          \
                 PropertyType::Type,                              \
                 WEEKVIEW_SAVED_##Kept,                           \
                 WEEKVIEW_ACCESS_##Kept##_##Type(Name)},

inline constexpr PropertyInfo kProperties[] = {WEEKVIEW_PROPERTIES(WEEKVIEW_PROPERTY_INFO)};

#undef WEEKVIEW_PROPERTY_INFO

inline constexpr size_t kPropertyCount = sizeof kProperties / sizeof kProperties[0];

// The property with this DISPID, or nullptr.
constexpr const PropertyInfo* FindProperty(int32_t dispid)
{
    for (const PropertyInfo& p : kProperties) {
        if (p.dispid == dispid)
            return &p;
    }
    return nullptr;
}

// The property with this automation name (exactly as written), or nullptr.
inline const PropertyInfo* FindProperty(const char* name)
{
    for (const PropertyInfo& p : kProperties) {
        if (std::strcmp(p.name, name) == 0)
            return &p;
    }
    return nullptr;
}

}  // namespace weekview
