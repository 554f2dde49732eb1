// The per-thread registry of host look-ups and its hidden window.
#include "HostLookup.h"

#include "HiddenWindow.h"

#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr UINT kLookupDoneMessage = WM_USER + 102;
// A request whose cancel was accepted gets no completion message. Some socket libraries accept
// a cancel without stopping the look-up, so its buffer is kept for this long all the same
// (far beyond any resolver's own time-outs) before it is freed without the message.
constexpr DWORD kCanceledBufferLifeMs = 10 * 60 * 1000;

struct Request {
    std::vector<char> buffer = std::vector<char>(MAXGETHOSTSTRUCT);
    HostLookup::Done done;  // empty once abandoned
    bool canceled = false;
    DWORD canceledAt = 0;
};

struct Registry {
    HWND window = nullptr;
    std::map<HANDLE, std::unique_ptr<Request>> requests;

    Registry() = default;
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;
    ~Registry()
    {
        if (window)
            DestroyWindow(window);
    }
};

LRESULT CALLBACK LookupWindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

Registry& ThreadRegistry()
{
    // Requests are answered through a window, which belongs to the thread that created it.
    thread_local Registry registry;
    if (!registry.window)
        registry.window =
            CreateHiddenWindow("HostLookupWindowClass", &LookupWindowRoutine, nullptr);
    return registry;
}

in_addr FirstAddress(const std::vector<char>& buffer)
{
    in_addr address{};
    const auto* entry = reinterpret_cast<const hostent*>(buffer.data());
    if (entry->h_addr_list && entry->h_addr_list[0] && entry->h_length == sizeof(in_addr))
        memcpy(&address, entry->h_addr_list[0], sizeof address);
    return address;
}

void Finish(HANDLE task, int error)
{
    Registry& registry = ThreadRegistry();
    auto found = registry.requests.find(task);
    if (found == registry.requests.end())
        return;
    std::unique_ptr<Request> request = std::move(found->second);
    registry.requests.erase(found);
    if (!request->done)
        return;
    bool ok = error == 0;
    request->done(ok, ok ? FirstAddress(request->buffer) : in_addr{});
}

LRESULT CALLBACK LookupWindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kLookupDoneMessage)
        return DefWindowProcA(window, message, wParam, lParam);
    try {
        Finish(reinterpret_cast<HANDLE>(wParam), WSAGETASYNCERROR(lParam));
    } catch (...) {
        // The asker sees the outcome through its own state; nothing may cross this routine.
    }
    return 0;
}

void DropOldCanceled(Registry& registry)
{
    DWORD now = GetTickCount();
    for (auto it = registry.requests.begin(); it != registry.requests.end();) {
        const Request& request = *it->second;
        if (request.canceled && now - request.canceledAt >= kCanceledBufferLifeMs)
            it = registry.requests.erase(it);
        else
            ++it;
    }
}

}  // namespace

namespace HostLookup {

HANDLE Start(const std::string& host, Done done)
{
    Registry& registry = ThreadRegistry();
    if (!registry.window)
        return nullptr;
    DropOldCanceled(registry);
    auto request = std::make_unique<Request>();
    request->done = std::move(done);
    HANDLE task =
        WSAAsyncGetHostByName(registry.window, kLookupDoneMessage, host.c_str(),
                              request->buffer.data(), static_cast<int>(request->buffer.size()));
    if (task)
        registry.requests[task] = std::move(request);
    return task;
}

void Abandon(HANDLE task)
{
    Registry& registry = ThreadRegistry();
    auto found = registry.requests.find(task);
    if (found == registry.requests.end())
        return;
    Request& request = *found->second;
    request.done = nullptr;
    if (WSACancelAsyncRequest(task) == 0) {
        request.canceled = true;
        request.canceledAt = GetTickCount();
    }
}

size_t Pending()
{
    return ThreadRegistry().requests.size();
}

}  // namespace HostLookup
