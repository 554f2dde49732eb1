// Real files for the tests on POSIX and Windows: fresh folders, whole files, the sample tables.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <stdlib.h>
#include <unistd.h>
#endif

namespace dbf {

inline std::string DataDir()
{
#ifdef _WIN32
    std::string dir = std::string("Z:") + TD_DBF_DATA_DIR;
    for (char& c : dir)
        c = c == '/' ? '\\' : c;
    return dir + "\\";
#else
    return std::string(TD_DBF_DATA_DIR) + "/";
#endif
}

// Removes the folders the tests made when the test program ends.
class TempDirs {
public:
    static TempDirs& Instance()
    {
        static TempDirs dirs;
        return dirs;
    }
    void Add(const std::string& dir) { dirs_.push_back(dir); }
    ~TempDirs()
    {
        std::error_code ignored;
        for (const std::string& dir : dirs_) {
#ifdef _WIN32
            for (auto& file : std::filesystem::directory_iterator(dir, ignored))
                SetFileAttributesA(file.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
            std::filesystem::remove_all(dir, ignored);
        }
    }

private:
    std::vector<std::string> dirs_;
};

inline std::string MakeTempDirUnregistered()
{
#ifdef _WIN32
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int serial = 0;
    for (;;) {
        std::string dir = std::string(base) + "dbfcheck" + std::to_string(GetCurrentProcessId()) +
                          "_" + std::to_string(++serial);
        if (CreateDirectoryA(dir.c_str(), nullptr))
            return dir + "\\";
    }
#else
    char pattern[] = "/tmp/dbfcheckXXXXXX";
    return std::string(mkdtemp(pattern)) + "/";
#endif
}

inline std::string MakeTempDir()
{
    std::string dir = MakeTempDirUnregistered();
    TempDirs::Instance().Add(dir);
    return dir;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void CopyBytes(const std::string& from, const std::string& to)
{
    WriteBytes(to, ReadBytes(from));
}

}  // namespace dbf
