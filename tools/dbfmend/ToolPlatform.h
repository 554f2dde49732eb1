// The few things dbfmend needs from the platform beyond the table files themselves:
// folder listings, file facts, small whole-file reads and writes, the terminal test
// and text for JSON. POSIX and Win32 each implement it in a file of their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mend {

enum class EntryKind { kFile, kFolder, kOther };

struct FolderEntry {
    std::string name;  // as the platform gives it (bytes of the ANSI code page on Windows)
    EntryKind kind = EntryKind::kOther;
};

struct FileFacts {
    EntryKind kind = EntryKind::kOther;
    uint64_t size = 0;
    int64_t modified = 0;  // nanoseconds since 1970-01-01 UTC
};

// The entries of a folder, without "." and "..", links to folders counted as kOther
// so that a walk never loops; false with the reason in *error.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries, std::string* error);

// Facts of the file or folder at path (links followed); false with the reason.
bool GetFileFacts(const std::string& path, FileFacts* facts, std::string* error);

// Why a file cannot be opened for reading and writing shared with others, as the table
// library opens it: "read-only", "not a file", or the platform's reason; empty when
// it can be opened now.
std::string OpenFailureReason(const std::string& path);

// Reads a whole file of at most maxSize bytes; false with the reason (a larger file
// is refused).
bool ReadSmallFile(const std::string& path, size_t maxSize, std::vector<uint8_t>* bytes,
                   std::string* error);

// Creates or replaces a file with bytes, flushed to the disk and closed with every
// step checked; false with the reason, and then no partial file is left.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);

// The separator the platform writes between folder and name.
char PathSeparator();

// Whether standard error is a terminal (a console window on Windows).
bool StandardErrorIsTerminal();

// A name or path as UTF-8 for JSON: unchanged on POSIX, converted from the ANSI code
// page on Windows.
std::string TextForJson(const std::string& platformText);

}  // namespace mend
