// The alarm file through Win32 handles. The share mode keeps writers out while a scan reads
// and rewrites the file: another program appending a reminder either gets in before the read
// (and the scan sees its line) or after the rewrite (and appends to the new content). The
// rewrite goes through a file beside it, so that a failed write leaves the old content.
#include "Win32AlarmFile.h"

#include <windows.h>

namespace alarms {
namespace {

// The file is a list of short reminder lines; anything larger is not read whole.
constexpr LONGLONG kMaxFileBytes = 64ll * 1024 * 1024;

bool WriteWhole(void* handle, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        if (!WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &put,
                       nullptr) ||
            put == 0)
            return false;
        done += put;
    }
    return true;
}

// The new content is written whole beside the file and then put in its place.
constexpr char kNextSuffix[] = ".new";

class Win32AlarmFile : public AlarmFile {
public:
    Win32AlarmFile(HANDLE handle, const std::string& path,
                   const Win32AlarmFileStore::FileWriter& writer)
        : handle_(handle), path_(path), writer_(writer)
    {
    }
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

    // A failure leaves the old content or the new one, never new bytes over old ones: the new
    // content is written whole into a file beside this one and takes its place in one step.
    // The held file shares deletion (so it can be replaced) but not writing, so a program
    // appending a reminder meanwhile waits and then appends to the new file.
    bool Replace(const std::string& bytes) override
    {
        const std::string next = path_ + kNextSuffix;
        const HANDLE file = CreateFileA(next.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        const bool written = writer_(file, bytes) && FlushFileBuffers(file);
        CloseHandle(file);
        if (written && MoveFileExA(next.c_str(), path_.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DeleteFileA(next.c_str());
        // A system that will not put a file in the place of one held open (or not at this
        // moment): the content is rewritten in place, still held against writers.
        return written && RewriteInPlace(bytes);
    }

private:
    bool RewriteInPlace(const std::string& bytes)
    {
        // A longer content claims its room first, so a full disk fails before any byte of
        // the old content is overwritten.
        LARGE_INTEGER size;
        if (!GetFileSizeEx(handle_, &size))
            return false;
        if (static_cast<LONGLONG>(bytes.size()) > size.QuadPart && !SetEnd(bytes.size()))
            return false;
        if (!Seek(0) || !writer_(handle_, bytes))
            return false;
        return SetEnd(bytes.size()) && FlushFileBuffers(handle_);
    }

    bool Seek(size_t offset)
    {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) != 0;
    }

    bool SetEnd(size_t offset) { return Seek(offset) && SetEndOfFile(handle_); }

    HANDLE handle_;
    const std::string& path_;
    const Win32AlarmFileStore::FileWriter& writer_;
};

}  // namespace

Win32AlarmFileStore::Win32AlarmFileStore(std::string path, FileWriter writer)
    : path_(std::move(path)), writer_(writer ? std::move(writer) : FileWriter(&WriteWhole))
{
}

OpenStatus Win32AlarmFileStore::Open(std::unique_ptr<AlarmFile>* file)
{
    const HANDLE handle = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
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
    file->reset(new Win32AlarmFile(handle, path_, writer_));
    return OpenStatus::kOpened;
}

void Win32AlarmFileStore::Pause(unsigned milliseconds)
{
    Sleep(milliseconds);
}

}  // namespace alarms
