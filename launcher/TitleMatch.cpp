// Byte-wise title search used by the launch-or-activate routine.
#include "TitleMatch.h"

#include <algorithm>

namespace launcher {

bool TitleContains(const char* title, std::size_t length, std::string_view searched)
{
    if (title == nullptr || length == 0 || searched.empty() || searched.size() > length)
        return false;
    const char* end = title + length;
    return std::search(title, end, searched.begin(), searched.end()) != end;
}

}  // namespace launcher
