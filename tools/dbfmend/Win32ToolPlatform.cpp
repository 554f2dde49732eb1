// The platform part of dbfmend on Windows: ANSI directory searches and file calls
// (names stay in the ANSI code page, as the table library's are), checked flush and
// close, the console test.
#include <windows.h>

#include "ToolPlatform.h"

namespace mend {
namespace {

// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
const int64_t kEpochDifference = 116444736000000000LL;

std::string Reason(DWORD code)
{
    char* text = nullptr;
    DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = n && text ? std::string(text, n) : "error " + std::to_string(code);
    if (text)
        LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.'))
        reason.pop_back();
    return reason;
}

EntryKind KindOf(DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? EntryKind::kOther : EntryKind::kFolder;
    return EntryKind::kFile;
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle()
    {
        if (h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    // Closes now and answers whether the close succeeded.
    bool Close()
    {
        HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return CloseHandle(h) != 0;
    }

private:
    HANDLE h_;
};

}  // namespace

bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries, std::string* error)
{
    entries->clear();
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) {
        *error = Reason(GetLastError());
        return false;
    }
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        entries->push_back(FolderEntry{name, KindOf(data.dwFileAttributes)});
    } while (FindNextFileA(search, &data));
    DWORD code = GetLastError();
    FindClose(search);
    if (code != ERROR_NO_MORE_FILES) {
        *error = Reason(code);
        return false;
    }
    return true;
}

bool GetFileFacts(const std::string& path, FileFacts* facts, std::string* error)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        *error = Reason(GetLastError());
        return false;
    }
    facts->kind = KindOf(data.dwFileAttributes);
    facts->size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    int64_t ticks =
        static_cast<int64_t>((static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                             data.ftLastWriteTime.dwLowDateTime);
    facts->modified = (ticks - kEpochDifference) * 100;
    return true;
}

std::string OpenFailureReason(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return Reason(GetLastError());
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return "not a file";
    if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        return "read-only";
    Handle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr));
    return file.valid() ? std::string() : Reason(GetLastError());
}

bool ReadSmallFile(const std::string& path, size_t maxSize, std::vector<uint8_t>* bytes,
                   std::string* error)
{
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) {
        *error = Reason(GetLastError());
        return false;
    }
    bytes->clear();
    uint8_t buffer[4096];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr)) {
            *error = Reason(GetLastError());
            return false;
        }
        if (n == 0)
            return true;
        if (bytes->size() + n > maxSize) {
            *error = "larger than " + std::to_string(maxSize) + " bytes";
            return false;
        }
        bytes->insert(bytes->end(), buffer, buffer + n);
    }
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error)
{
    Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        *error = Reason(GetLastError());
        return false;
    }
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        DWORD n = 0;
        if (!WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &n,
                       nullptr) ||
            n == 0) {
            *error = Reason(GetLastError());
            ok = false;
        }
        done += n;
    }
    if (ok && !FlushFileBuffers(file.get())) {
        *error = Reason(GetLastError());
        ok = false;
    }
    if (!file.Close() && ok) {
        *error = Reason(GetLastError());
        ok = false;
    }
    if (!ok)
        DeleteFileA(path.c_str());
    return ok;
}

char PathSeparator()
{
    return '\\';
}

bool StandardErrorIsTerminal()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

std::string TextForJson(const std::string& platformText)
{
    if (platformText.empty())
        return platformText;
    int wide = MultiByteToWideChar(CP_ACP, 0, platformText.data(),
                                   static_cast<int>(platformText.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, platformText.data(), static_cast<int>(platformText.size()),
                        &w[0], wide);
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, &utf8[0], n, nullptr, nullptr);
    return utf8;
}

}  // namespace mend
