// The alarm file on disk: opened so that other programs may read it but not write it while a
// scan holds it.
#pragma once

#include <string>

#include "AlarmFile.h"

namespace alarms {

class Win32AlarmFileStore : public AlarmFileStore {
public:
    explicit Win32AlarmFileStore(std::string path) : path_(std::move(path)) {}

    OpenStatus Open(std::unique_ptr<AlarmFile>* file) override;
    const std::string& Path() const override { return path_; }
    void Pause(unsigned milliseconds) override;

private:
    std::string path_;
};

}  // namespace alarms
