// The control's persistent property set: the saved lines of the list of properties, in
// the order they are exchanged, each with the kind of value it is saved as.
#pragma once

#include <cstddef>
#include <cstdint>

#include "DisplayProperties.h"

namespace septena {

enum class PersistKind { Font, HourFont, Color, Short, Bool, Text };

struct PersistentProperty {
    const wchar_t* name = nullptr;
    PersistKind kind = PersistKind::Short;
    weekview::OleColor weekview::DisplayProperties::*color = nullptr;
    int16_t weekview::DisplayProperties::*number = nullptr;
    bool weekview::DisplayProperties::*flag = nullptr;
};

// Expanded from the table of properties (PropertyTable.h).
extern const PersistentProperty* const kPersistentSet;
extern const size_t kPersistentSetSize;

// The longest DayHeader a saved form may carry; longer ones are refused as damaged.
constexpr uint32_t kMaxSavedText = 1u << 20;

}  // namespace septena
