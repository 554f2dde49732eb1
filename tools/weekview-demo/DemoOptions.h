// Command line of weekview-demo: the window size, the steps in order, the snapshot file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace weekview_demo {

struct Step {
    enum Kind { Set, Add, Press, Drag, RightClick, Scroll } kind = Set;
    std::string name;   // Set: property name
    std::string value;  // Set: value text; Add: key
    bool hasKey = false;
    int16_t startTime = 0, endTime = 0;
    int32_t startDate = 0, endDate = 0;
    int x = 0, y = 0;  // mouse steps; Scroll: x holds the line count
};

struct DemoOptions {
    int width = 640;
    int height = 480;
    std::vector<Step> steps;
    std::string snapshot;  // empty: stay open as an interactive window
    bool events = false;
};

// Parses the arguments after the program name; false with a message on bad input.
bool ParseDemoOptions(const std::vector<std::string>& args, DemoOptions& options,
                      std::string& error);

extern const char* const kUsage;

}  // namespace weekview_demo
