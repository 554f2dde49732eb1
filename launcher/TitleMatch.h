// Recognising a suite application's window by a piece of text in its title.
#pragma once

#include <cstddef>
#include <string_view>

namespace launcher {

// True when `searched` occurs anywhere in the first `length` bytes of `title`,
// compared byte for byte (titles are ANSI code page text; no case folding, no
// character boundaries). An empty searched text never matches an empty read.
bool TitleContains(const char* title, std::size_t length, std::string_view searched);

}  // namespace launcher
