// Access to the alarm file "qAlarm.txt", behind an interface so that the scan runs over the
// platform's files or over memory.
#pragma once

#include <memory>
#include <string>

namespace alarms {

// The alarm file, open for one scan. While it is open no other program can write to it, so
// nothing another program appends falls between the scan's read and its rewrite; closing it
// (destroying the object) lets writers in again.
class AlarmFile {
public:
    virtual ~AlarmFile() = default;
    // The whole content; false when it cannot be read.
    virtual bool ReadAll(std::string* bytes) = 0;
    // Makes bytes the whole content; false when it cannot be written.
    virtual bool Replace(const std::string& bytes) = 0;
};

enum class OpenStatus {
    kOpened,
    kMissing,  // no such file: nothing to scan
    kBusy,     // another program has it open for writing just now
    kFailed,   // any other refusal (no access, not a file)
};

class AlarmFileStore {
public:
    virtual ~AlarmFileStore() = default;
    // Opens the alarm file for reading and writing, shutting other writers out.
    virtual OpenStatus Open(std::unique_ptr<AlarmFile>* file) = 0;
    // The file's path, for error texts.
    virtual const std::string& Path() const = 0;
    // Waits before another try at a busy file.
    virtual void Pause(unsigned milliseconds) = 0;
};

}  // namespace alarms
