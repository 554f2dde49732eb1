// Parsing and checking pop3stat's options.
#include "Pop3StatArgs.h"

#include "ReplyText.h"

namespace {

bool ReadNumber(const std::string& name, const std::string& text, int32_t low, int32_t high,
                int32_t& value, std::string& problem)
{
    if (!ParsePlainInteger(text, value) || value < low || value > high) {
        problem =
            name + " needs a number from " + std::to_string(low) + " to " + std::to_string(high);
        return false;
    }
    return true;
}

}  // namespace

bool ParsePop3StatArgs(const std::vector<std::string>& args, Pop3StatArgs& parsed,
                       std::string& problem)
{
    bool haveHost = false, haveUser = false, havePass = false;
    for (size_t i = 0; i < args.size(); i += 2) {
        const std::string& name = args[i];
        if (i + 1 >= args.size()) {
            problem = name + " needs a value";
            return false;
        }
        const std::string& value = args[i + 1];
        int32_t number = 0;
        if (name == "--host") {
            parsed.host = value;
            haveHost = true;
        } else if (name == "--user") {
            parsed.user = value;
            haveUser = true;
        } else if (name == "--pass") {
            parsed.pass = value;
            havePass = true;
        } else if (name == "--port") {
            if (!ReadNumber(name, value, 1, 65535, number, problem))
                return false;
            parsed.port = number;
        } else if (name == "--timeout") {
            // 0 would switch both bounds off and let a silent server hold the tool for ever.
            if (!ReadNumber(name, value, 1, 600000, number, problem))
                return false;
            parsed.timeout = number;
        } else if (name == "--report-level") {
            if (!ReadNumber(name, value, 0, 1000, number, problem))
                return false;
            parsed.reportLevel = number;
        } else {
            problem = "unknown option " + name;
            return false;
        }
    }
    if (!haveHost || !haveUser || !havePass) {
        problem = "--host, --user and --pass are required";
        return false;
    }
    return true;
}
