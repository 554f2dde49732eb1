// weekview-demo: hosts the week view for people and tests; see weekview/README.md.
#include <cstdio>
#include <string>
#include <vector>

#include "DemoHost.h"
#include "DemoOptions.h"

int main(int argc, char** argv)
{
    using namespace weekview_demo;
    const std::vector<std::string> args(argv + 1, argv + argc);
    DemoOptions options;
    std::string error;
    if (!ParseDemoOptions(args, options, error)) {
        std::fprintf(stderr, "weekview-demo: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    try {
        DemoHost host(options);
        if (!host.Create(error) || !host.RunSteps(error)) {
            std::fprintf(stderr, "weekview-demo: %s\n", error.c_str());
            return 2;
        }
        if (options.snapshot.empty())
            return host.RunInteractive();
        if (!host.WriteSnapshot(options.snapshot, error)) {
            std::fprintf(stderr, "weekview-demo: %s\n", error.c_str());
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "weekview-demo: %s\n", e.what());
        return 1;
    }
}
