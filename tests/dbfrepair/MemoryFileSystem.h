// Files held in memory for the header check's tests: accesses recorded, failures on request.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "FileAccess.h"

namespace dbf {

struct WriteRecord {
    std::string path;
    uint64_t offset;
    uint32_t count;
};

class MemoryFileSystem : public FileSystem {
public:
    struct Entry {
        std::vector<uint8_t> data;
        uint64_t reportedSize = 0;  // when larger than the data: the size, zeros beyond
        bool readOnly = false;
        bool folder = false;  // found by the search, never opened
        bool lockedByOther = false;
        uint32_t writeLimit = 0xFFFFFFFF;  // bytes a write may store at most
        bool flushFails = false;
        bool closeFails = false;
        int flushes = 0;
        // A range another opener holds locked: as on Windows, a read that overlaps it
        // fails as a whole and delivers nothing.
        uint64_t foreignLockStart = 0;
        uint64_t foreignLockLength = 0;
        int openHandles = 0;
    };

    void Put(const std::string& path, std::vector<uint8_t> data);
    Entry& At(const std::string& path) { return files_.at(path); }
    const std::vector<uint8_t>& Data(const std::string& path) { return files_.at(path).data; }

    std::unique_ptr<TableFile> OpenExisting(const std::string& path) override;
    bool Exists(const std::string& path, std::string* found) override;
    void Pause(unsigned milliseconds) override;

    int lockAttempts = 0;
    int reads = 0;
    std::vector<unsigned> pauses;
    std::vector<WriteRecord> writes;

    int OpenHandles() const;

private:
    friend class MemoryTableFile;
    std::map<std::string, Entry>::iterator Find(const std::string& path);
    std::map<std::string, Entry> files_;
};

}  // namespace dbf
