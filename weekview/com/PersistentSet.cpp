// The persistent property set: the saved properties of the table, in its order.
#include "PersistentSet.h"

#include <array>

#include "PropertyTable.h"
#include "SeptenaIds.h"

namespace septena {
namespace {

using weekview::PropertyInfo;
using weekview::PropertyType;

// Enumerations are kept, and saved, in 16 bits like the other numbers.
constexpr PersistKind KindOf(const PropertyInfo& p)
{
    switch (p.type) {
        case PropertyType::Color:
            return PersistKind::Color;
        case PropertyType::Bool:
            return PersistKind::Bool;
        case PropertyType::Text:
            return PersistKind::Text;
        case PropertyType::Font:
            return p.dispid == kHourFont ? PersistKind::HourFont : PersistKind::Font;
        default:
            return PersistKind::Short;
    }
}

constexpr size_t CountSaved()
{
    size_t n = 0;
    for (const PropertyInfo& p : weekview::kProperties)
        n += p.saved ? 1 : 0;
    return n;
}

constexpr std::array<PersistentProperty, CountSaved()> MakeSet()
{
    std::array<PersistentProperty, CountSaved()> set{};
    size_t n = 0;
    for (const PropertyInfo& p : weekview::kProperties) {
        if (p.saved)
            set[n++] = PersistentProperty{p.wideName, KindOf(p), p.color, p.number, p.flag};
    }
    return set;
}

constexpr std::array<PersistentProperty, CountSaved()> kSet = MakeSet();

}  // namespace

const PersistentProperty* const kPersistentSet = kSet.data();
const size_t kPersistentSetSize = kSet.size();

}  // namespace septena
