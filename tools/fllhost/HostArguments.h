// The harness's routine arguments, C:<text> and I:<integer>, checked against a descriptor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fllhost {

struct Argument {
    char type;  // 'C' or 'I'
    std::string text;
    int32_t integer = 0;
};

// Reads one argument; false with a message when it is malformed.
bool ParseArgument(const std::string& arg, Argument* out, std::string* error);

// Checks arguments against a descriptor such as "C,.I,.I"; false with a message.
bool MatchDescriptor(const std::string& descriptor, const std::vector<Argument>& args,
                     std::string* error);

}  // namespace fllhost
