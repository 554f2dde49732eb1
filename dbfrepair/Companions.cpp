// Path splitting and the fixed table of primary, memo and index extensions.
#include "Companions.h"

#include <algorithm>
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

// The characters of path from begin to end, at most kMaxPartLength of them.
std::string Part(const std::string& path, size_t begin, size_t end)
{
    return path.substr(begin, std::min(end - begin, kMaxPartLength));
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
    parts.directory = Part(path, pos, nameStart);
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) {
        parts.baseName = Part(path, nameStart, path.size());
    } else {
        parts.baseName = Part(path, nameStart, dot);
        parts.extension = Part(path, dot, path.size());
    }
    return parts;
}

std::string StemOf(const PathParts& parts)
{
    std::string stem;
    stem.reserve(parts.drive.size() + parts.directory.size() + parts.baseName.size());
    return stem.append(parts.drive).append(parts.directory).append(parts.baseName);
}

// The extension is put in upper case once and compared with each row's, which is in
// upper case already: the same answer as comparing each pair with case ignored.
CompanionKinds LookUpCompanions(const std::string& extension)
{
    std::string upper = extension;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const CompanionRow& row : kCompanionTable) {
        if (upper == row.primary)
            return {row.memo, row.index};
    }
    return {};
}

}  // namespace dbf
