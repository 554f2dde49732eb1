// Parses weekview-demo's command line.
#include "DemoOptions.h"

#include <sstream>

#include "PropertyByName.h"

namespace weekview_demo {

const char* const kUsage =
    "usage: weekview-demo [--size WxH] [--set Name=Value]... "
    "[--add START_TIME,START_DATE,END_TIME,END_DATE[,KEY]]... [--press X,Y] [--drag X,Y]... "
    "[--rclick X,Y] [--scroll N] [--snapshot FILE.bmp] [--events]\n";

namespace {

std::vector<std::string> SplitFields(const std::string& text, char separator, size_t maxFields)
{
    std::vector<std::string> fields;
    size_t start = 0;
    while (fields.size() + 1 < maxFields) {
        const size_t at = text.find(separator, start);
        if (at == std::string::npos)
            break;
        fields.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    fields.push_back(text.substr(start));
    return fields;
}

bool ParseNumber(const std::string& text, long long minimum, long long maximum, long long& out)
{
    return weekview::ParseInteger(text, minimum, maximum, out);
}

bool ParsePoint(const std::string& text, Step& step)
{
    const std::vector<std::string> f = SplitFields(text, ',', 2);
    long long x = 0, y = 0;
    if (f.size() != 2 || !ParseNumber(f[0], -32768, 32767, x) ||
        !ParseNumber(f[1], -32768, 32767, y))
        return false;
    step.x = static_cast<int>(x);
    step.y = static_cast<int>(y);
    return true;
}

bool ParseAdd(const std::string& text, Step& step)
{
    // The key is the rest of the text after the fourth comma and may hold commas.
    const std::vector<std::string> f = SplitFields(text, ',', 5);
    long long v[4] = {};
    const long long limits[4][2] = {{INT16_MIN, INT16_MAX},
                                    {INT32_MIN, INT32_MAX},
                                    {INT16_MIN, INT16_MAX},
                                    {INT32_MIN, INT32_MAX}};
    if (f.size() < 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        if (!ParseNumber(f[i], limits[i][0], limits[i][1], v[i]))
            return false;
    }
    step.startTime = static_cast<int16_t>(v[0]);
    step.startDate = static_cast<int32_t>(v[1]);
    step.endTime = static_cast<int16_t>(v[2]);
    step.endDate = static_cast<int32_t>(v[3]);
    step.hasKey = f.size() == 5;
    if (step.hasKey)
        step.value = f[4];
    return true;
}

bool ParseSize(const std::string& text, DemoOptions& options)
{
    const std::vector<std::string> f = SplitFields(text, 'x', 2);
    long long w = 0, h = 0;
    if (f.size() != 2 || !ParseNumber(f[0], 1, 8192, w) || !ParseNumber(f[1], 1, 8192, h))
        return false;
    options.width = static_cast<int>(w);
    options.height = static_cast<int>(h);
    return true;
}

bool ParseOne(const std::string& option, const std::string& value, DemoOptions& options)
{
    Step step;
    if (option == "--size")
        return ParseSize(value, options);
    if (option == "--snapshot") {
        options.snapshot = value;
        return !value.empty();
    }
    if (option == "--set") {
        const size_t at = value.find('=');
        if (at == std::string::npos || at == 0)
            return false;
        step.kind = Step::Set;
        step.name = value.substr(0, at);
        step.value = value.substr(at + 1);
    } else if (option == "--add") {
        step.kind = Step::Add;
        if (!ParseAdd(value, step))
            return false;
    } else if (option == "--press" || option == "--drag" || option == "--rclick") {
        step.kind = option == "--press"  ? Step::Press
                    : option == "--drag" ? Step::Drag
                                         : Step::RightClick;
        if (!ParsePoint(value, step))
            return false;
    } else if (option == "--scroll") {
        long long n = 0;
        if (!ParseNumber(value, -100000, 100000, n))
            return false;
        step.kind = Step::Scroll;
        step.x = static_cast<int>(n);
    } else {
        return false;
    }
    options.steps.push_back(step);
    return true;
}

}  // namespace

bool ParseDemoOptions(const std::vector<std::string>& args, DemoOptions& options,
                      std::string& error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--events") {
            options.events = true;
            continue;
        }
        if (option.rfind("--", 0) != 0) {
            error = "unexpected argument: " + option;
            return false;
        }
        if (i + 1 >= args.size()) {
            error = option + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (!ParseOne(option, value, options)) {
            error = "bad option: " + option + " " + value;
            return false;
        }
    }
    return true;
}

}  // namespace weekview_demo
