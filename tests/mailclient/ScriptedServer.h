// A scripted POP3 server for the tests: one loopback connection on its own thread, replaying a
// script (replies, split replies, pauses, silence, early close) and recording every byte the
// client sent.
#pragma once

#include <windows.h>
#include <winsock.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ScriptStep {
    enum Kind { Send, ReadLine, Pause, Close } kind;
    std::string bytes;  // Send: what goes out
    int ms = 0;         // Pause: how long
};

// Script helpers.
ScriptStep SendBytes(std::string bytes);
ScriptStep ReadLine();
ScriptStep Pause(int ms);
ScriptStep CloseConnection();
// ReadLine, then send the reply.
std::vector<ScriptStep> Answer(const std::string& reply);
std::vector<ScriptStep> Join(std::initializer_list<std::vector<ScriptStep>> parts);

class ScriptedServer {
public:
    explicit ScriptedServer(std::vector<ScriptStep> script);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    int Port() const { return port; }
    // Waits (at most a few seconds) until the client closed or the script ended with a close,
    // then gives every byte the client sent.
    std::string Transcript();
    bool Accepted() const { return accepted; }

private:
    void Run();
    bool ReadUntilLines(size_t lines, DWORD waitMs);
    void Drain();
    bool Readable(SOCKET s, DWORD ms);

    std::vector<ScriptStep> script;
    SOCKET listener = INVALID_SOCKET;
    SOCKET peer = INVALID_SOCKET;
    int port = 0;
    std::atomic<bool> accepted{false};
    std::atomic<bool> stopping{false};
    std::mutex lock;
    std::string received;
    std::thread worker;
};

// A listening socket on a free loopback port (backlog 1); `address` receives where it listens.
SOCKET ListenOnLoopback(sockaddr_in& address);
