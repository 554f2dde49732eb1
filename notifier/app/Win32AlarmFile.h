// The alarm file on disk: opened so that other programs may read it but not write it while a
// scan holds it.
#pragma once

#include <functional>
#include <string>

#include "AlarmFile.h"

namespace alarms {

class Win32AlarmFileStore : public AlarmFileStore {
public:
    // Writes all of bytes at the current position of an open file (a Win32 file handle);
    // false when it cannot. Tests put failing writes in its place.
    using FileWriter = std::function<bool(void* handle, const std::string& bytes)>;

    explicit Win32AlarmFileStore(std::string path, FileWriter writer = {});

    OpenStatus Open(std::unique_ptr<AlarmFile>* file) override;
    const std::string& Path() const override { return path_; }
    void Pause(unsigned milliseconds) override;

private:
    std::string path_;
    FileWriter writer_;
};

}  // namespace alarms
