// The file operations the header check needs, over Win32 handles, POSIX descriptors or memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dbf {

// One open file. Destroying it closes the file (unless Close did) and so releases any lock
// taken on it.
class TableFile {
public:
    virtual ~TableFile() = default;
    // Tries once to lock one byte at offset; false when another opener holds it.
    virtual bool LockByte(uint32_t offset) = 0;
    // Reads up to count bytes at offset; answers the number of bytes read (0 at the end).
    virtual uint32_t ReadAt(uint64_t offset, uint8_t* buffer, uint32_t count) = 0;
    // Writes count bytes at offset; answers the number of bytes written.
    virtual uint32_t WriteAt(uint64_t offset, const uint8_t* buffer, uint32_t count) = 0;
    // The file's size (its end offset); false when it cannot be had.
    virtual bool Size(uint64_t* size) = 0;
    // Writes what was written through to the disk; false when that failed.
    virtual bool Flush() = 0;
    // Closes the file now (releasing its locks); false when closing reported a failure,
    // after which written data may be lost. Nothing else may be called afterwards.
    virtual bool Close() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens an existing file for reading and writing, sharing both with other openers;
    // null when it is missing, read-only or held exclusively by another opener.
    virtual std::unique_ptr<TableFile> OpenExisting(const std::string& path) = 0;
    // Whether a directory search finds exactly this name, letter case ignored as
    // Windows does; a folder is found as well as a file. *found is then the path to
    // open it by (with the letter case found on disk where names are case-sensitive).
    virtual bool Exists(const std::string& path, std::string* found) = 0;
    // The same for several paths: (*found)[i] is the path to open the i-th by, empty
    // when it does not exist. A platform may look at a shared folder once for all.
    virtual void ExistAll(const std::vector<std::string>& paths, std::vector<std::string>* found)
    {
        found->assign(paths.size(), std::string());
        for (size_t i = 0; i < paths.size(); ++i) {
            std::string path;
            if (Exists(paths[i], &path))
                (*found)[i] = path;
        }
    }
    // Waits between lock attempts.
    virtual void Pause(unsigned milliseconds) = 0;
};

// The platform's real file system (Win32 handles on Windows, POSIX elsewhere).
FileSystem& PlatformFileSystem();

}  // namespace dbf
