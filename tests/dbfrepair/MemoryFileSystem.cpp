// In-memory files for the header check's tests and fuzzing.
#include "MemoryFileSystem.h"

#include <algorithm>
#include <cstring>

#include "Companions.h"

namespace dbf {

class MemoryTableFile : public TableFile {
public:
    MemoryTableFile(MemoryFileSystem& owner, std::string path)
        : owner_(owner), path_(std::move(path)), entry_(owner.files_.at(path_))
    {
        ++entry_.openHandles;
    }
    ~MemoryTableFile() override
    {
        if (open_)
            --entry_.openHandles;
    }

    bool LockByte(uint32_t) override
    {
        ++owner_.lockAttempts;
        return !entry_.lockedByOther;
    }

    uint32_t ReadAt(uint64_t offset, uint8_t* buffer, uint32_t count) override
    {
        ++owner_.reads;
        if (entry_.foreignLockLength &&
            offset < entry_.foreignLockStart + entry_.foreignLockLength &&
            entry_.foreignLockStart < offset + count)
            return 0;
        // A file given a larger size than its data reads as zeros beyond the data.
        uint64_t size = std::max<uint64_t>(entry_.data.size(), entry_.reportedSize);
        if (offset >= size)
            return 0;
        uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(size - offset, count));
        uint64_t stored = offset < entry_.data.size() ? entry_.data.size() - offset : 0;
        uint32_t copied = static_cast<uint32_t>(std::min<uint64_t>(stored, n));
        if (copied)
            std::memcpy(buffer, entry_.data.data() + offset, copied);
        std::memset(buffer + copied, 0, n - copied);
        return n;
    }

    uint32_t WriteAt(uint64_t offset, const uint8_t* buffer, uint32_t count) override
    {
        owner_.writes.push_back({path_, offset, count});
        uint32_t n = std::min(count, entry_.writeLimit);
        if (offset + n > entry_.data.size())
            entry_.data.resize(offset + n);
        std::memcpy(entry_.data.data() + offset, buffer, n);
        return n;
    }

    bool Size(uint64_t* size) override
    {
        *size = entry_.reportedSize ? entry_.reportedSize : entry_.data.size();
        return true;
    }

    bool Flush() override
    {
        ++entry_.flushes;
        return !entry_.flushFails;
    }

    bool Close() override
    {
        if (open_) {
            open_ = false;
            --entry_.openHandles;
        }
        return !entry_.closeFails;
    }

private:
    bool open_ = true;
    MemoryFileSystem& owner_;
    std::string path_;
    MemoryFileSystem::Entry& entry_;
};

void MemoryFileSystem::Put(const std::string& path, std::vector<uint8_t> data)
{
    files_[path].data = std::move(data);
}

// Names are matched without regard to letter case, as on Windows.
std::map<std::string, MemoryFileSystem::Entry>::iterator MemoryFileSystem::Find(
    const std::string& path)
{
    for (auto it = files_.begin(); it != files_.end(); ++it) {
        if (EqualsIgnoreCase(it->first, path))
            return it;
    }
    return files_.end();
}

std::unique_ptr<TableFile> MemoryFileSystem::OpenExisting(const std::string& path)
{
    auto it = Find(path);
    if (it == files_.end() || it->second.readOnly || it->second.folder)
        return nullptr;
    return std::make_unique<MemoryTableFile>(*this, it->first);
}

bool MemoryFileSystem::Exists(const std::string& path, std::string* found)
{
    *found = path;
    return Find(path) != files_.end();
}

void MemoryFileSystem::Pause(unsigned milliseconds)
{
    pauses.push_back(milliseconds);
}

int MemoryFileSystem::OpenHandles() const
{
    int open = 0;
    for (const auto& file : files_)
        open += file.second.openHandles;
    return open;
}

}  // namespace dbf
