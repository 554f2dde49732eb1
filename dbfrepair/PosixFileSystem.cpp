// The table files on POSIX descriptors, with names found whatever their letter case.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "Companions.h"
#include "FileAccess.h"

namespace dbf {
namespace {

// Locks are open-file-description locks, which, like Windows byte-range locks, conflict
// between two handles of one process.
class PosixTableFile : public TableFile {
public:
    explicit PosixTableFile(int fd) : fd_(fd) {}
    ~PosixTableFile() override
    {
        if (fd_ >= 0)
            close(fd_);
    }
    PosixTableFile(const PosixTableFile&) = delete;
    PosixTableFile& operator=(const PosixTableFile&) = delete;

    bool LockByte(uint32_t offset) override
    {
        struct flock lock = {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = offset;
        lock.l_len = 1;
        return fcntl(fd_, F_OFD_SETLK, &lock) == 0;
    }

    // A regular file answers short only at its end, so one read is enough.
    uint32_t ReadAt(uint64_t offset, uint8_t* buffer, uint32_t count) override
    {
        ssize_t n;
        do {
            n = pread(fd_, buffer, count, static_cast<off_t>(offset));
        } while (n < 0 && errno == EINTR);
        return n > 0 ? static_cast<uint32_t>(n) : 0;
    }

    uint32_t WriteAt(uint64_t offset, const uint8_t* buffer, uint32_t count) override
    {
        uint32_t done = 0;
        while (done < count) {
            ssize_t n = pwrite(fd_, buffer + done, count - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<uint32_t>(n);
        }
        return done;
    }

    bool Size(uint64_t* size) override
    {
        struct stat st;
        if (fstat(fd_, &st) != 0)
            return false;
        *size = static_cast<uint64_t>(st.st_size);
        return true;
    }

    bool Flush() override { return fsync(fd_) == 0; }

    bool Close() override
    {
        int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

private:
    int fd_;
};

// The directory part of a path and its last name, '/' and '\' both separating.
void SplitDirectory(const std::string& path, std::string* dir, std::string* name)
{
    size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) {
        *dir = ".";
        *name = path;
    } else {
        *dir = slash == 0 ? "/" : path.substr(0, slash);
        *name = path.substr(slash + 1);
    }
}

// For each name, the folder's entry (file or folder) equal to it apart from letter
// case, empty when there is none; the folder is read once for all of them.
bool FindInFolder(const std::string& dir, const std::vector<std::string>& names,
                  std::vector<std::string>* hits)
{
    hits->assign(names.size(), std::string());
    DIR* listing = opendir(dir.c_str());
    if (!listing)
        return false;
    size_t missing = names.size();
    while (missing > 0) {
        struct dirent* entry = readdir(listing);
        if (!entry)
            break;
        for (size_t i = 0; i < names.size(); ++i) {
            if ((*hits)[i].empty() && EqualsIgnoreCase(entry->d_name, names[i])) {
                (*hits)[i] = entry->d_name;
                --missing;
            }
        }
    }
    closedir(listing);
    return true;
}

class PosixFileSystem : public FileSystem {
public:
    std::unique_ptr<TableFile> OpenExisting(const std::string& path) override
    {
        int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
        std::string actual;
        if (fd < 0 && errno == ENOENT && FindIgnoringCase(path, &actual))
            fd = open(actual.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        auto file = std::make_unique<PosixTableFile>(fd);
        // A file without any write permission counts as read-only, as the read-only
        // attribute does on Windows, also for a user whom permissions do not stop.
        struct stat st;
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0)
            return nullptr;
        return file;
    }

    bool Exists(const std::string& path, std::string* found) override
    {
        return FindIgnoringCase(path, found);
    }

    // Names in one folder (as a table's companions are) are looked up under one look
    // at the folder.
    void ExistAll(const std::vector<std::string>& paths, std::vector<std::string>* found) override
    {
        found->assign(paths.size(), std::string());
        if (paths.empty())
            return;
        std::string dir;
        std::vector<std::string> names(paths.size());
        SplitDirectory(paths[0], &dir, &names[0]);
        for (size_t i = 1; i < paths.size(); ++i) {
            std::string otherDir;
            SplitDirectory(paths[i], &otherDir, &names[i]);
            if (otherDir != dir)
                return FileSystem::ExistAll(paths, found);
        }
        std::vector<std::string> hits;
        if (!FindInFolder(dir, names, &hits))
            return;
        for (size_t i = 0; i < paths.size(); ++i) {
            if (!hits[i].empty())
                (*found)[i] = dir + "/" + hits[i];
        }
    }

    void Pause(unsigned milliseconds) override
    {
        struct timespec wait = {0, static_cast<long>(milliseconds) * 1000000L};
        while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
        }
    }

private:
    // Looks for a name (file or folder, as a Windows directory search finds both)
    // that equals the path's last name apart from letter case.
    static bool FindIgnoringCase(const std::string& path, std::string* actual)
    {
        std::string dir, name;
        SplitDirectory(path, &dir, &name);
        std::vector<std::string> hits;
        if (!FindInFolder(dir, {name}, &hits) || hits[0].empty())
            return false;
        *actual = dir + "/" + hits[0];
        return true;
    }
};

}  // namespace

FileSystem& PlatformFileSystem()
{
    static PosixFileSystem files;
    return files;
}

}  // namespace dbf
