// The scripted POP3 server: plain blocking Winsock on 127.0.0.1.
#include "ScriptedServer.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr DWORD kAcceptWaitMs = 10000;
constexpr DWORD kLineWaitMs = 10000;
constexpr DWORD kDrainWaitMs = 10000;

// Waits until the socket is readable; false on time-out.
bool ReadableWithin(SOCKET s, DWORD ms)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval limit{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &limit) == 1;
}

}  // namespace

// Waits in short slices, so that a server being stopped does not hold its owner up.
bool ScriptedServer::Readable(SOCKET s, DWORD ms)
{
    constexpr DWORD kSliceMs = 20;
    for (DWORD waited = 0; waited < ms && !stopping; waited += kSliceMs) {
        if (ReadableWithin(s, kSliceMs))
            return true;
    }
    return false;
}

ScriptStep SendBytes(std::string bytes)
{
    return {ScriptStep::Send, std::move(bytes), 0};
}
ScriptStep ReadLine()
{
    return {ScriptStep::ReadLine, "", 0};
}
ScriptStep Pause(int ms)
{
    return {ScriptStep::Pause, "", ms};
}
ScriptStep CloseConnection()
{
    return {ScriptStep::Close, "", 0};
}

std::vector<ScriptStep> Answer(const std::string& reply)
{
    return {ReadLine(), SendBytes(reply)};
}

std::vector<ScriptStep> Join(std::initializer_list<std::vector<ScriptStep>> parts)
{
    std::vector<ScriptStep> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

SOCKET ListenOnLoopback(sockaddr_in& address)
{
    SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
    address = sockaddr_in{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, 1);
    int length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    return listener;
}

ScriptedServer::ScriptedServer(std::vector<ScriptStep> steps) : script(std::move(steps))
{
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    sockaddr_in address{};
    listener = ListenOnLoopback(address);
    port = ntohs(address.sin_port);
    worker = std::thread([this] { Run(); });
}

ScriptedServer::~ScriptedServer()
{
    stopping = true;
    if (worker.joinable())
        worker.join();
    if (peer != INVALID_SOCKET)
        closesocket(peer);
    closesocket(listener);
    WSACleanup();
}

void ScriptedServer::Run()
{
    if (!Readable(listener, kAcceptWaitMs))
        return;
    peer = accept(listener, nullptr, nullptr);
    if (peer == INVALID_SOCKET)
        return;
    accepted = true;
    size_t linesWanted = 0;
    for (const ScriptStep& step : script) {
        if (stopping)
            return;
        switch (step.kind) {
            case ScriptStep::Send:
                for (size_t at = 0; at < step.bytes.size();) {
                    int sent =
                        send(peer, step.bytes.data() + at,
                             static_cast<int>(std::min<size_t>(step.bytes.size() - at, 65536)), 0);
                    if (sent <= 0)
                        return;
                    at += static_cast<size_t>(sent);
                }
                break;
            case ScriptStep::ReadLine:
                if (!ReadUntilLines(++linesWanted, kLineWaitMs))
                    return;
                break;
            case ScriptStep::Pause:
                Sleep(static_cast<DWORD>(step.ms));
                break;
            case ScriptStep::Close:
                closesocket(peer);
                peer = INVALID_SOCKET;
                return;
        }
    }
    Drain();
}

bool ScriptedServer::ReadUntilLines(size_t lines, DWORD waitMs)
{
    char chunk[4096];
    for (;;) {
        {
            std::lock_guard<std::mutex> hold(lock);
            if (static_cast<size_t>(std::count(received.begin(), received.end(), '\n')) >= lines)
                return true;
        }
        if (stopping || !Readable(peer, waitMs))
            return false;
        int count = recv(peer, chunk, sizeof chunk, 0);
        if (count <= 0)
            return false;
        std::lock_guard<std::mutex> hold(lock);
        received.append(chunk, static_cast<size_t>(count));
    }
}

// After the script: record whatever else the client sends until it closes.
void ScriptedServer::Drain()
{
    char chunk[4096];
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDrainWaitMs);
    while (!stopping && std::chrono::steady_clock::now() < deadline) {
        if (!Readable(peer, 50))
            continue;
        int count = recv(peer, chunk, sizeof chunk, 0);
        if (count <= 0)
            return;
        std::lock_guard<std::mutex> hold(lock);
        received.append(chunk, static_cast<size_t>(count));
    }
}

std::string ScriptedServer::Transcript()
{
    if (worker.joinable())
        worker.join();
    std::lock_guard<std::mutex> hold(lock);
    return received;
}
