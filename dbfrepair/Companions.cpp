// Path splitting and the fixed table of primary, memo and index extensions.
#include "Companions.h"

#include <cctype>

namespace dbf {
namespace {

struct CompanionRow {
    const char* primary;
    const char* memo;
    const char* index;
};

const CompanionRow kCompanionTable[] = {
    {".DBC", ".DCT", ".DCX"}, {".DBF", ".FPT", ".CDX"}, {".FRX", ".FRT", ""}, {".LBX", ".LBT", ""},
    {".MNX", ".MNT", ""},     {".PJX", ".PJT", ""},     {".SCX", ".SCT", ""}, {".VCX", ".VCT", ""},
};

const size_t kMaxPartLength = 255;

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::string Limit(const std::string& part)
{
    return part.substr(0, kMaxPartLength);
}

}  // namespace

bool EqualsIgnoreCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

PathParts SplitPath(const std::string& path)
{
    PathParts parts;
    size_t pos = 0;
    if (path.size() >= 2 && path[1] == ':') {
        parts.drive = path.substr(0, 2);
        pos = 2;
    }
    size_t nameStart = pos;
    for (size_t i = pos; i < path.size(); ++i) {
        if (IsSeparator(path[i]))
            nameStart = i + 1;
    }
    parts.directory = Limit(path.substr(pos, nameStart - pos));
    std::string name = path.substr(nameStart);
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) {
        parts.baseName = Limit(name);
    } else {
        parts.baseName = Limit(name.substr(0, dot));
        parts.extension = Limit(name.substr(dot));
    }
    return parts;
}

CompanionKinds LookUpCompanions(const std::string& extension)
{
    for (const CompanionRow& row : kCompanionTable) {
        if (EqualsIgnoreCase(extension, row.primary))
            return {row.memo, row.index};
    }
    return {};
}

}  // namespace dbf
