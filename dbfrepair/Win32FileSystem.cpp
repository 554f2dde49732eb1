// The table files on Win32 handles: shared opens, byte-range locks and directory searches.
#include <windows.h>

#include "FileAccess.h"

namespace dbf {
namespace {

class Win32TableFile : public TableFile {
public:
    explicit Win32TableFile(HANDLE handle) : handle_(handle) {}
    ~Win32TableFile() override
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    Win32TableFile(const Win32TableFile&) = delete;
    Win32TableFile& operator=(const Win32TableFile&) = delete;

    bool LockByte(uint32_t offset) override { return LockFile(handle_, offset, 0, 1, 0) != 0; }

    // A file answers short only at its end, so one read is enough.
    uint32_t ReadAt(uint64_t offset, uint8_t* buffer, uint32_t count) override
    {
        DWORD n = 0;
        if (!SeekTo(offset) || !ReadFile(handle_, buffer, count, &n, nullptr))
            return 0;
        return n;
    }

    uint32_t WriteAt(uint64_t offset, const uint8_t* buffer, uint32_t count) override
    {
        uint32_t done = 0;
        while (done < count) {
            if (!SeekTo(offset + done))
                break;
            DWORD n = 0;
            if (!WriteFile(handle_, buffer + done, count - done, &n, nullptr) || n == 0)
                break;
            done += n;
        }
        return done;
    }

    bool Size(uint64_t* size) override
    {
        DWORD high = 0;
        DWORD low = GetFileSize(handle_, &high);
        if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
            return false;
        *size = (static_cast<uint64_t>(high) << 32) | low;
        return true;
    }

    bool Flush() override { return FlushFileBuffers(handle_) != 0; }

    bool Close() override
    {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != 0;
    }

private:
    bool SeekTo(uint64_t offset)
    {
        LONG high = static_cast<LONG>(offset >> 32);
        DWORD low =
            SetFilePointer(handle_, static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN);
        return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
    }

    HANDLE handle_;
};

class Win32FileSystem : public FileSystem {
public:
    std::unique_ptr<TableFile> OpenExisting(const std::string& path) override
    {
        HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_RANDOM_ACCESS, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return nullptr;
        auto file = std::make_unique<Win32TableFile>(handle);
        // Windows refuses write access to a read-only file; a user whom file
        // permissions do not stop (as under some emulations) is refused here alike.
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(handle, &info) ||
            (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
            return nullptr;
        return file;
    }

    // A folder of that name is found as well, as by any directory search: a memo
    // companion that is a folder then fails to open, rather than the table being
    // taken for one without memo.
    bool Exists(const std::string& path, std::string* found) override
    {
        *found = path;
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA(path.c_str(), &data);
        if (search == INVALID_HANDLE_VALUE)
            return false;
        FindClose(search);
        return true;
    }

    void Pause(unsigned milliseconds) override { Sleep(milliseconds); }
};

}  // namespace

FileSystem& PlatformFileSystem()
{
    static Win32FileSystem files;
    return files;
}

}  // namespace dbf
