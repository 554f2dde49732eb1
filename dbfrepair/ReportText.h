// The help text and the header report, as the lines the library outputs.
#pragma once

#include <string>
#include <vector>

namespace dbf {

struct HeaderReport;

// The seventeen help strings, one output request each.
const std::vector<std::string>& HelpText();

// The ten report lines, or twelve when the table has a memo companion.
std::vector<std::string> ReportLines(const HeaderReport& report);

// The version line of the library; withBuildStamp adds the build stamp behind it.
std::string VersionLine(bool withBuildStamp);

}  // namespace dbf
