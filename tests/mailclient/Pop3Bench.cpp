// The mail check's cost: the median wall and CPU time of one check (connect, login, STAT, QUIT,
// close) with TPop3Client, beside the same dialogue over plain blocking sockets in the same
// process; then a long run of checks with the process's handles, window objects and private
// bytes before and after. With --tls-host, checks over TLS instead: the first one (whose chain
// check loads the store's roots) and the median of the rest, each split into the handshake and
// the certificate check.
// usage: Pop3Bench [--port N] [--user U] [--pass P] [--checks N] [--leak-checks N]
//                  [--tls-host NAME --tls-port N]
#include "Exceptions.h"
#include "Pop3Client.h"

#include <psapi.h>
#include <windows.h>
#include <winsock.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "BenchClock.h"

namespace {

struct Settings {
    int port = 110;
    std::string user = "three";
    std::string pass = "threepass";
    int checks = 50;
    int leakChecks = 1000;
    std::string tlsHost;
    int tlsPort = 995;
};

// One check over TLS, with the moments its status reports mark.
struct TlsTimes {
    double handshakeMs = 0;
    double certificateMs = 0;
    double wallMs = 0;
    std::string protocol;
};

struct Sample {
    double wallMs;
    double cpuMs;
};

using testsupport::NowMs;

double ThreadCpuMs()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

int ClientCheck(const Settings& settings)
{
    TPop3Client client;
    client.Host = "127.0.0.1";
    client.Port = settings.port;
    client.UserID = settings.user;
    client.Password = settings.pass;
    client.Connect();
    int count = client.MessageCount();
    client.Disconnect();
    return count;
}

TlsTimes TlsCheck(const Settings& settings)
{
    TlsTimes times;
    double start = testsupport::NowMs(), started = 0, checking = 0;
    TPop3Client client;
    client.Host = settings.tlsHost;
    client.Port = settings.tlsPort;
    client.Security = ConnectionSecurity::Ssl;
    client.UserID = settings.user;
    client.Password = settings.pass;
    client.ReportLevel = 8;
    client.OnStatus = [&](TSocketClient&, const std::string& text) {
        double now = testsupport::NowMs();
        if (text == "Starting TLS") {
            started = now;
        } else if (text == "Checking the server's certificate") {
            checking = now;
            times.handshakeMs = now - started;
        } else if (text.rfind("Secured with ", 0) == 0) {
            times.certificateMs = now - checking;
            times.protocol = text.substr(13);
        }
    };
    client.Connect();
    client.Disconnect();
    times.wallMs = testsupport::NowMs() - start;
    return times;
}

double Median(std::vector<double> values);

void TlsBench(const Settings& settings)
{
    TlsTimes first = TlsCheck(settings);
    std::vector<double> wall, handshake, certificate;
    for (int i = 0; i < settings.checks; ++i) {
        TlsTimes times = TlsCheck(settings);
        wall.push_back(times.wallMs);
        handshake.push_back(times.handshakeMs);
        certificate.push_back(times.certificateMs);
    }
    std::printf("%s to %s:%d\n", first.protocol.c_str(), settings.tlsHost.c_str(),
                settings.tlsPort);
    std::printf("first check     wall %.2f ms: handshake %.2f ms, certificate check %.2f ms\n",
                first.wallMs, first.handshakeMs, first.certificateMs);
    std::printf(
        "later (median)  wall %.2f ms: handshake %.2f ms, certificate check %.2f ms"
        " (%d checks)\n",
        Median(wall), Median(handshake), Median(certificate), settings.checks);
}

// Reads whole chunks, as the client does, and keeps what follows the line.
std::string BlockingReadLine(SOCKET s, std::string& pending)
{
    char chunk[4096];
    size_t lineFeed;
    while ((lineFeed = pending.find('\n')) == std::string::npos) {
        int count = recv(s, chunk, sizeof chunk, 0);
        if (count <= 0)
            return std::string();
        pending.append(chunk, static_cast<size_t>(count));
    }
    std::string line = pending.substr(0, lineFeed + 1);
    pending.erase(0, lineFeed + 1);
    return line;
}

std::string BlockingTransaction(SOCKET s, std::string& pending, const std::string& command)
{
    std::string wire = command + "\r\n";
    send(s, wire.data(), static_cast<int>(wire.size()), 0);
    return BlockingReadLine(s, pending);
}

// The floor: the same dialogue with plain blocking calls.
int BlockingCheck(const Settings& settings)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(settings.port));
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    int count = -1;
    std::string pending;
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        BlockingReadLine(s, pending).rfind("+OK", 0) == 0 &&
        BlockingTransaction(s, pending, "USER " + settings.user).rfind("+OK", 0) == 0 &&
        BlockingTransaction(s, pending, "PASS " + settings.pass).rfind("+OK", 0) == 0) {
        std::string stat = BlockingTransaction(s, pending, "STAT");
        count = std::atoi(stat.c_str() + 4);
        BlockingTransaction(s, pending, "QUIT");
    }
    closesocket(s);
    return count;
}

Sample Measure(const std::function<int()>& check, int expected)
{
    double wall = NowMs();
    double cpu = ThreadCpuMs();
    int count = check();
    Sample sample{NowMs() - wall, ThreadCpuMs() - cpu};
    if (count != expected)
        std::printf("warning: a check counted %d, expected %d\n", count, expected);
    return sample;
}

double BlockCpuMs(const std::function<int()>& check, int expected, int checks)
{
    double start = ThreadCpuMs();
    for (int i = 0; i < checks; ++i) {
        if (check() != expected)
            std::printf("warning: a check did not count %d\n", expected);
    }
    return (ThreadCpuMs() - start) / checks;
}

// The part of a check that is the object itself: its hidden windows, timer and socket.
double ObjectLifetimeMs(int objects)
{
    double start = NowMs();
    for (int i = 0; i < objects; ++i)
        TPop3Client client;
    return (NowMs() - start) / objects;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

struct Usage {
    DWORD handles;
    int windows;
    unsigned long long privateBytes;
};

// Some systems (Wine among them) report no handle count; then the open handle values are
// counted one by one.
DWORD HandleCount()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0)
        return count;
    constexpr uintptr_t kHighestProbed = 1 << 18;
    DWORD flags;
    for (uintptr_t value = 4; value < kHighestProbed; value += 4)
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    return count;
}

// The system calls it with the __stdcall convention, which a lambda does not have on i686.
BOOL CALLBACK CountThreadWindow(HWND, LPARAM counter)
{
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int ThreadWindowCount()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountThreadWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

Usage CurrentUsage()
{
    Usage usage{};
    usage.handles = HandleCount();
    usage.windows = ThreadWindowCount();
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    // The commit charge: the process's private bytes.
    usage.privateBytes = memory.PagefileUsage;
    return usage;
}

void PrintUsage(const char* when, const Usage& usage)
{
    std::printf("%-7s handles %lu, windows %d, private bytes %llu\n", when,
                static_cast<unsigned long>(usage.handles), usage.windows, usage.privateBytes);
}

bool ParseSettings(int argc, char** argv, Settings& settings)
{
    if (const char* port = std::getenv("POP3_PORT"))
        settings.port = std::atoi(port);
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string name = argv[i];
        std::string value = argv[i + 1];
        if (name == "--port")
            settings.port = std::atoi(value.c_str());
        else if (name == "--user")
            settings.user = value;
        else if (name == "--pass")
            settings.pass = value;
        else if (name == "--checks")
            settings.checks = std::atoi(value.c_str());
        else if (name == "--leak-checks")
            settings.leakChecks = std::atoi(value.c_str());
        else if (name == "--tls-host")
            settings.tlsHost = value;
        else if (name == "--tls-port")
            settings.tlsPort = std::atoi(value.c_str());
        else
            return false;
    }
    return argc % 2 == 1 && settings.checks > 0 && settings.leakChecks >= 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Settings settings;
    if (!ParseSettings(argc, argv, settings)) {
        std::fprintf(stderr,
                     "usage: Pop3Bench [--port N] [--user U] [--pass P] [--checks N] "
                     "[--leak-checks N] [--tls-host NAME --tls-port N]\n");
        return 2;
    }
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    try {
        if (!settings.tlsHost.empty()) {
            TlsBench(settings);
            WSACleanup();
            return 0;
        }
        int expected = ClientCheck(settings);
        auto client = [&] { return ClientCheck(settings); };
        auto floor = [&] { return BlockingCheck(settings); };
        // Wall times interleaved, so both see the same server conditions.
        std::vector<double> clientWall, floorWall;
        for (int i = 0; i < settings.checks; ++i) {
            clientWall.push_back(Measure(client, expected).wallMs);
            floorWall.push_back(Measure(floor, expected).wallMs);
        }
        // The thread clock ticks coarsely, so CPU time is taken over a block of checks.
        double clientCpu = BlockCpuMs(client, expected, settings.checks);
        double floorCpu = BlockCpuMs(floor, expected, settings.checks);
        std::printf("checks: %d against 127.0.0.1:%d, %d messages\n", settings.checks,
                    settings.port, expected);
        std::printf("TPop3Client      median wall %.2f ms, CPU %.2f ms per check\n",
                    Median(clientWall), clientCpu);
        std::printf("blocking floor   median wall %.2f ms, CPU %.2f ms per check\n",
                    Median(floorWall), floorCpu);
        std::printf("wall ratio %.2f\n", Median(clientWall) / Median(floorWall));
        std::printf("of which creating and destroying the client object: %.2f ms\n",
                    ObjectLifetimeMs(settings.checks));

        Usage before = CurrentUsage();
        for (int i = 0; i < settings.leakChecks; ++i)
            ClientCheck(settings);
        Usage after = CurrentUsage();
        std::printf("%d checks in a row:\n", settings.leakChecks);
        PrintUsage("before", before);
        PrintUsage("after", after);
    } catch (const Exception& error) {
        std::printf("error: %s: %s\n", error.ClassName(), error.Message().c_str());
        return 1;
    }
    WSACleanup();
    return 0;
}
