// Host look-ups by name through the socket library's asynchronous request, with a buffer per
// request whose life only the request's own end decides.
#pragma once

#include <windows.h>
#include <winsock.h>

#include <cstddef>
#include <functional>
#include <string>

// The system writes a look-up's answer into the request's buffer up to the moment it posts the
// completion message, also when a cancel comes too late to stop it. Each request therefore owns
// its buffer, kept in a registry of the calling thread until the completion message arrives at
// the registry's own window (or a cancel is accepted), whatever became of the object that asked.
namespace HostLookup {

// ok: the name was found; address: its first IPv4 address (zero when it has none).
using Done = std::function<void(bool ok, in_addr address)>;

// Starts a look-up; done runs on this thread when the answer arrives, unless the look-up was
// abandoned first. Returns the request's handle, or nullptr when the request was refused.
HANDLE Start(const std::string& host, Done done);

// The asker no longer waits: done will not run. The request is cancelled; its buffer is kept
// until the completion message arrives (or, when the cancel was accepted, for a long grace
// period, since an accepted cancel does not stop the look-up everywhere).
void Abandon(HANDLE task);

// Requests of this thread whose buffer is still held.
size_t Pending();

}  // namespace HostLookup
