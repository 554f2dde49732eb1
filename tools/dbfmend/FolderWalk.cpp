// Walking the paths of a command line into the list of tables to check.
#include "FolderWalk.h"

#include <algorithm>

#include "Companions.h"
#include "ToolPlatform.h"

namespace mend {
namespace {

std::string Join(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        return folder + name;
    return folder + PathSeparator() + name;
}

// Letter case as the library ignores it: ASCII letters only.
char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

void UpperCase(std::string* text)
{
    for (char& c : *text)
        c = UpperAscii(c);
}

// The companions of names' extensions, each extension asked of the library once per
// folder: a data folder holds thousands of names with a handful of extensions.
class ExtensionKinds {
public:
    const dbf::CompanionKinds& Of(const std::string& name)
    {
        size_t dot = name.rfind('.');
        std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
        for (const auto& known : known_) {
            if (known.first == extension)
                return known.second;
        }
        known_.emplace_back(extension, dot == std::string::npos ? dbf::CompanionKinds()
                                                                : dbf::LookUpCompanions(extension));
        return known_.back().second;
    }

    // The memo and index extensions of the table extensions met so far.
    std::vector<std::string> CompanionExtensions() const
    {
        std::vector<std::string> extensions;
        for (const auto& known : known_) {
            for (const std::string* e : {&known.second.memoExtension, &known.second.indexExtension}) {
                if (!e->empty() && std::find(extensions.begin(), extensions.end(), *e) ==
                                       extensions.end())
                    extensions.push_back(*e);
            }
        }
        return extensions;
    }

private:
    std::vector<std::pair<std::string, dbf::CompanionKinds>> known_;
};

// Where a name's extension (with its dot) begins; length when it has none.
size_t ExtensionAt(const char* name, size_t length)
{
    for (size_t i = length; i > 0; --i) {
        if (name[i - 1] == '.')
            return i - 1;
    }
    return length;
}

void WalkFolder(const std::string& folder, bool recursive, std::vector<WalkItem>* items)
{
    std::vector<FolderEntry> entries;
    std::string error;
    if (!ListFolder(folder, &entries, &error)) {
        items->push_back(WalkItem(folder, error, true, nullptr));
        return;
    }
    // Only the tables and sub-folders are sorted: a data folder holds as many memo and
    // index files again.
    std::vector<std::string> tables, folders;
    std::vector<bool> isTable(entries.size());
    ExtensionKinds kinds;
    for (size_t i = 0; i < entries.size(); ++i) {
        isTable[i] = entries[i].kind == EntryKind::kFile &&
                     !kinds.Of(entries[i].name).memoExtension.empty();
        if (entries[i].kind == EntryKind::kFolder && recursive)
            folders.push_back(entries[i].name);
    }
    // The library's search finds folders as well as files, so every entry is offered.
    auto names = std::make_shared<FolderNames>(kinds.CompanionExtensions(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        if (isTable[i])
            tables.push_back(std::move(entries[i].name));
        else
            names->Add(entries[i].name);
    }
    std::sort(tables.begin(), tables.end());
    std::sort(folders.begin(), folders.end());
    items->reserve(items->size() + tables.size());
    for (const std::string& name : tables)
        items->push_back(WalkItem(Join(folder, name), std::string(), true, names));
    for (const std::string& name : folders)
        WalkFolder(Join(folder, name), recursive, items);
}

}  // namespace

FolderNames::FolderNames(std::vector<std::string> upperExtensions, size_t expected)
    : extensions_(std::move(upperExtensions))
{
    names_.reserve(expected);
}

bool FolderNames::Holds(const char* name, size_t length) const
{
    size_t at = ExtensionAt(name, length);
    for (const std::string& extension : extensions_) {
        if (extension.size() != length - at)
            continue;
        size_t i = 0;
        while (i < extension.size() && extension[i] == UpperAscii(name[at + i]))
            ++i;
        if (i == extension.size())
            return true;
    }
    return false;
}

void FolderNames::Add(const std::string& name)
{
    if (!Holds(name.data(), name.size()))
        return;
    std::string key = name;
    UpperCase(&key);
    names_.emplace(std::move(key), name);
}

const std::string* FolderNames::Find(const char* name, size_t length) const
{
    std::string key(name, length);
    UpperCase(&key);
    auto it = names_.find(key);
    return it == names_.end() ? nullptr : &it->second;
}

std::vector<WalkItem> CollectTables(const std::vector<std::string>& paths, bool recursive)
{
    std::vector<WalkItem> items;
    for (const std::string& path : paths) {
        FileFacts facts;
        std::string error;
        if (!GetFileFacts(path, &facts, &error))
            items.push_back(WalkItem(path, error, false, nullptr));
        else if (facts.kind == EntryKind::kFolder)
            WalkFolder(path, recursive, &items);
        else if (facts.kind == EntryKind::kFile)
            items.push_back(WalkItem(path, std::string(), false, nullptr));
        else
            items.push_back(WalkItem(path, "neither a file nor a folder", false, nullptr));
    }
    return items;
}

}  // namespace mend
