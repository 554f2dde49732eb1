// The platform part of dbfmend on POSIX: opendir/stat listings, descriptors with
// checked fsync and close, isatty.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ToolPlatform.h"

namespace mend {
namespace {

std::string Reason()
{
    return std::strerror(errno);
}

EntryKind KindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return EntryKind::kFile;
    if (S_ISDIR(mode))
        return EntryKind::kFolder;
    return EntryKind::kOther;
}

}  // namespace

bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries, std::string* error)
{
    entries->clear();
    DIR* listing = opendir(folder.c_str());
    if (!listing) {
        *error = Reason();
        return false;
    }
    while (struct dirent* entry = readdir(listing)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        FolderEntry item;
        item.name = name;
        if (entry->d_type == DT_REG) {
            item.kind = EntryKind::kFile;
        } else if (entry->d_type == DT_DIR) {
            item.kind = EntryKind::kFolder;
        } else if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            // A link counts as what it leads to when that is a file, never as a folder.
            struct stat st;
            std::string path = folder + "/" + name;
            if (lstat(path.c_str(), &st) == 0) {
                if (S_ISLNK(st.st_mode))
                    item.kind = stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)
                                    ? EntryKind::kFile
                                    : EntryKind::kOther;
                else
                    item.kind = KindOf(st.st_mode);
            }
        }
        entries->push_back(item);
    }
    closedir(listing);
    return true;
}

bool GetFileFacts(const std::string& path, FileFacts* facts, std::string* error)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        *error = Reason();
        return false;
    }
    facts->kind = KindOf(st.st_mode);
    facts->size = static_cast<uint64_t>(st.st_size);
    facts->modified = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

std::string OpenFailureReason(const std::string& path)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return Reason();
    if (!S_ISREG(st.st_mode))
        return "not a file";
    if ((st.st_mode & 0222) == 0)
        return "read-only";
    int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return Reason();
    close(fd);
    return std::string();
}

bool ReadSmallFile(const std::string& path, size_t maxSize, std::vector<uint8_t>* bytes,
                   std::string* error)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *error = Reason();
        return false;
    }
    bytes->clear();
    uint8_t buffer[4096];
    bool ok = true;
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *error = Reason();
            ok = false;
            break;
        }
        if (n == 0)
            break;
        if (bytes->size() + static_cast<size_t>(n) > maxSize) {
            *error = "larger than " + std::to_string(maxSize) + " bytes";
            ok = false;
            break;
        }
        bytes->insert(bytes->end(), buffer, buffer + n);
    }
    close(fd);
    return ok;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = Reason();
        return false;
    }
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *error = n < 0 ? Reason() : "nothing written";
            ok = false;
        } else {
            done += static_cast<size_t>(n);
        }
    }
    if (ok && fsync(fd) != 0) {
        *error = Reason();
        ok = false;
    }
    if (close(fd) != 0 && ok) {
        *error = Reason();
        ok = false;
    }
    if (!ok)
        unlink(path.c_str());
    return ok;
}

char PathSeparator()
{
    return '/';
}

bool StandardErrorIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

std::string TextForJson(const std::string& platformText)
{
    return platformText;
}

}  // namespace mend
