// Plays the database host for one extension library: load, attach, load routine, one call.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "HostApi.h"
#include "HostArguments.h"

namespace fllhost {

struct CallResult {
    bool returned = false;
    char type = 0;
    int32_t integer = 0;
    std::string text;
};

class FllHost {
public:
    FllHost();
    ~FllHost();
    FllHost(const FllHost&) = delete;
    FllHost& operator=(const FllHost&) = delete;

    // Each answers false with a message in *error.
    bool Load(const std::string& path, std::string* error);
    void SetTalk(bool on) { talk_ = on; }
    void RunLoadRoutine();
    const dbf::FunctionEntry* Find(const std::string& name) const;
    CallResult Call(const dbf::FunctionEntry& entry, const std::vector<Argument>& args);

private:
    using Dispatch = int(__fastcall*)(dbf::RequestBlock*);
    static void Service(dbf::ServiceRecord* record);
    void Serve(dbf::ServiceRecord* record);
    void Request(dbf::RequestBlock& block);
    uint32_t StoreText(const std::string& text);
    std::string LoadText(uint32_t handle, uint32_t length);

    HMODULE module_ = nullptr;
    Dispatch dispatch_ = nullptr;
    dbf::FunctionTable* functions_ = nullptr;
    std::vector<char> handleTable_;
    std::vector<char> objectTable_;
    bool talk_ = false;
    CallResult result_;
};

}  // namespace fllhost
