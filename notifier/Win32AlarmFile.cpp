// The alarm file through Win32 handles. The share mode keeps writers out while a scan reads
// and rewrites the file: another program appending a reminder either gets in before the read
// (and the scan sees its line) or after the rewrite (and appends to the new content).
#include "Win32AlarmFile.h"

#include <windows.h>

namespace alarms {
namespace {

// The file is a list of short reminder lines; anything larger is not read whole.
constexpr LONGLONG kMaxFileBytes = 64ll * 1024 * 1024;

class Win32AlarmFile : public AlarmFile {
public:
    explicit Win32AlarmFile(HANDLE handle) : handle_(handle) {}
    ~Win32AlarmFile() override { CloseHandle(handle_); }
    Win32AlarmFile(const Win32AlarmFile&) = delete;
    Win32AlarmFile& operator=(const Win32AlarmFile&) = delete;

    bool ReadAll(std::string* bytes) override
    {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(handle_, &size) || size.QuadPart > kMaxFileBytes)
            return false;
        bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
        size_t done = 0;
        while (done < bytes->size()) {
            DWORD got = 0;
            if (!ReadFile(handle_, &(*bytes)[done], static_cast<DWORD>(bytes->size() - done), &got,
                          nullptr) ||
                got == 0)
                return false;
            done += got;
        }
        return true;
    }

    bool Replace(const std::string& bytes) override
    {
        // A longer content claims its room first, so a full disk fails before any byte of
        // the old content is overwritten.
        LARGE_INTEGER size;
        if (!GetFileSizeEx(handle_, &size))
            return false;
        if (static_cast<LONGLONG>(bytes.size()) > size.QuadPart && !SetEnd(bytes.size()))
            return false;
        if (!Seek(0))
            return false;
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD put = 0;
            if (!WriteFile(handle_, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                           &put, nullptr) ||
                put == 0)
                return false;
            done += put;
        }
        return SetEnd(bytes.size()) && FlushFileBuffers(handle_);
    }

private:
    bool Seek(size_t offset)
    {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) != 0;
    }

    bool SetEnd(size_t offset) { return Seek(offset) && SetEndOfFile(handle_); }

    HANDLE handle_;
};

}  // namespace

OpenStatus Win32AlarmFileStore::Open(std::unique_ptr<AlarmFile>* file)
{
    const HANDLE handle = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
                return OpenStatus::kMissing;
            case ERROR_SHARING_VIOLATION:
            case ERROR_LOCK_VIOLATION:
                return OpenStatus::kBusy;
            default:
                return OpenStatus::kFailed;
        }
    }
    file->reset(new Win32AlarmFile(handle));
    return OpenStatus::kOpened;
}

void Win32AlarmFileStore::Pause(unsigned milliseconds)
{
    Sleep(milliseconds);
}

}  // namespace alarms
