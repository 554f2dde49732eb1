// The process-wide count of live connection objects and the socket library start-up.
#include "WinsockLibrary.h"

#include <windows.h>
#include <winsock.h>

#include <cstring>

namespace {

// Touched only on the user-interface thread.
int liveUsers = 0;

std::string VersionText(WORD version)
{
    return std::to_string(HIBYTE(version)) + "." + std::to_string(LOBYTE(version));
}

}  // namespace

void AcquireWinsock(std::vector<std::string>& info)
{
    if (++liveUsers != 1)
        return;
    WSADATA data{};
    WSAStartup(MAKEWORD(1, 1), &data);
    info.push_back("Version= " + VersionText(data.wVersion));
    info.push_back("High Version= " + VersionText(data.wHighVersion));
    info.push_back("Description= " +
                   std::string(data.szDescription, strnlen(data.szDescription, 256)));
    info.push_back("System= " +
                   std::string(data.szSystemStatus, strnlen(data.szSystemStatus, 128)));
    info.push_back("Max Sockets= " + std::to_string(data.iMaxSockets));
    info.push_back("Max Udp pack size= " + std::to_string(data.iMaxUdpDg));
}

void ReleaseWinsock()
{
    if (liveUsers > 0 && --liveUsers == 0)
        WSACleanup();
}

int WinsockUsers()
{
    return liveUsers;
}
