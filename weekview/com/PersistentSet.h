// The control's persistent property set, in the order it is exchanged: the stock
// properties first, then the control's own with their defaults.
#pragma once

#include <cstddef>
#include <cstdint>

#include "DisplayProperties.h"

namespace septena {

enum class PersistKind { Font, HourFont, Color, Short, Bool, Text };

struct PersistentProperty {
    const wchar_t* name;
    PersistKind kind;
    weekview::OleColor weekview::DisplayProperties::*color;
    int16_t weekview::DisplayProperties::*number;
    bool weekview::DisplayProperties::*flag;
};

extern const PersistentProperty kPersistentSet[];
extern const size_t kPersistentSetSize;

// The longest DayHeader a saved form may carry; longer ones are refused as damaged.
constexpr uint32_t kMaxSavedText = 1u << 20;

}  // namespace septena
