// Companion files of a table: which memo and index files belong beside it.
#pragma once

#include <string>

namespace dbf {

// A path split the way the Windows run-time splits it.
struct PathParts {
    std::string drive;      // "C:" or empty
    std::string directory;  // with its trailing separator, or empty
    std::string baseName;
    std::string extension;  // with its dot, or empty
};

PathParts SplitPath(const std::string& path);

// The path without its extension: drive, directory and base name.
std::string StemOf(const PathParts& parts);

// The memo and index extensions of a primary extension (letter case ignored);
// both empty when the extension is not in the companion table.
struct CompanionKinds {
    std::string memoExtension;
    std::string indexExtension;
};

CompanionKinds LookUpCompanions(const std::string& extension);

bool EqualsIgnoreCase(const std::string& a, const std::string& b);

}  // namespace dbf
