// Parsing and checking of the harness's routine arguments.
#include "HostArguments.h"

#include <cerrno>
#include <cstdlib>

namespace fllhost {

bool ParseArgument(const std::string& arg, Argument* out, std::string* error)
{
    if (arg.size() >= 2 && (arg[0] == 'C' || arg[0] == 'c') && arg[1] == ':') {
        out->type = 'C';
        out->text = arg.substr(2);
        return true;
    }
    if (arg.size() >= 3 && (arg[0] == 'I' || arg[0] == 'i') && arg[1] == ':') {
        const char* digits = arg.c_str() + 2;
        char* end = nullptr;
        errno = 0;
        long long value = std::strtoll(digits, &end, 10);
        if (*end == '\0' && errno == 0 && value >= INT32_MIN && value <= INT32_MAX &&
            digits[0] != ' ') {
            out->type = 'I';
            out->integer = static_cast<int32_t>(value);
            return true;
        }
    }
    *error = "malformed argument '" + arg + "' (expected C:<text> or I:<integer>)";
    return false;
}

bool MatchDescriptor(const std::string& descriptor, const std::vector<Argument>& args,
                     std::string* error)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < descriptor.size()) {
        size_t comma = descriptor.find(',', start);
        if (comma == std::string::npos)
            comma = descriptor.size();
        parts.push_back(descriptor.substr(start, comma - start));
        start = comma + 1;
    }
    if (args.size() > parts.size()) {
        *error = "too many arguments: the function takes at most " + std::to_string(parts.size());
        return false;
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        bool optional = !parts[i].empty() && parts[i][0] == '.';
        char type = parts[i].empty() ? '?' : parts[i].back();
        if (i >= args.size()) {
            if (!optional) {
                *error = "argument " + std::to_string(i + 1) + " is required";
                return false;
            }
            continue;
        }
        if (args[i].type != type) {
            *error = "argument " + std::to_string(i + 1) + " must be " +
                     (type == 'C' ? "C:<text>" : "I:<integer>");
            return false;
        }
    }
    return true;
}

}  // namespace fllhost
