// The tables a command line names: tables given by path, and in folders (with -r
// their sub-folders too) every file whose extension the library knows as a table's
// (letter case ignored): .DBF, .DBC, .FRX, .LBX, .MNX, .PJX, .SCX, .VCX.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace mend {

// The memo and index files a folder listing gave, to be found again with letter case
// ignored as the library's companion search does: a table's memo and index are looked
// up here rather than by reading the folder once more for every table. Only names
// with the extensions given are kept; the others are not answered (Holds is false).
class FolderNames {
public:
    FolderNames(std::vector<std::string> upperExtensions, size_t expected);
    // Keeps the name when its extension is one of the kept ones.
    void Add(const std::string& name);
    // Whether a name's extension is one of the kept ones, so that Find answers for it.
    bool Holds(const char* name, size_t length) const;
    // The name as listed that equals name apart from letter case (the first listed
    // when several do); null when there is none.
    const std::string* Find(const char* name, size_t length) const;

private:
    std::vector<std::string> extensions_;                 // upper case, with the dot
    std::unordered_map<std::string, std::string> names_;  // upper-case form -> as listed
};

struct WalkItem {
    WalkItem(std::string path, std::string error, bool fromFolder,
             std::shared_ptr<const FolderNames> folderNames)
        : path(std::move(path)),
          error(std::move(error)),
          fromFolder(fromFolder),
          folderNames(std::move(folderNames))
    {
    }
    std::string path;
    std::string error;  // set when the path could not be read: the reason
    bool fromFolder = false;
    // For a table found in a folder: that folder's names, as listed by the walk, in
    // which the table's memo and index are looked up.
    std::shared_ptr<const FolderNames> folderNames;
};

// In the order given; each folder's entries sorted by name, a folder's tables before
// its sub-folders'. A path that cannot be read becomes an item with its reason.
std::vector<WalkItem> CollectTables(const std::vector<std::string>& paths, bool recursive);

}  // namespace mend
