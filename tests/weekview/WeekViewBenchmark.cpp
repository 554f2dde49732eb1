// Prints how long the week view takes to paint and to manage many appointments.
// Usage: WeekViewBenchmark [ITERATIONS]   (default 20; CI runs 3)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "WindowFixture.h"

namespace {

using testsupport::NowMs;
using weekview::WeekViewControl;
using weekview::WindowFixture;

// Median time of a full run-time paint into an off-screen bitmap.
double PaintMs(WindowFixture& f, int iterations)
{
    std::vector<double> times;
    HDC dc = GetDC(f.Handle());
    RECT client{};
    GetClientRect(f.Handle(), &client);
    weekview::PaintContext pc;
    pc.font = f.View().Font();
    for (int i = 0; i < iterations; ++i) {
        const double start = NowMs();
        weekview::PaintThroughBitmap(f.Control(), dc, client, pc);
        GdiFlush();
        times.push_back(NowMs() - start);
    }
    ReleaseDC(f.Handle(), dc);
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Appointments of one to three hours; `days` spreads them over that many days
// from the first day shown.
void AddAppointments(WeekViewControl& c, int count, int days)
{
    std::srand(7);
    for (int i = 0; i < count; ++i) {
        const int32_t date = 35063 + std::rand() % days;
        const int16_t start = static_cast<int16_t>((std::rand() % 40) * 30);
        c.AddKeyAppointment(start, date, static_cast<int16_t>(start + 60 + std::rand() % 120), date,
                            "key" + std::to_string(i));
    }
}

void PrintPaint(const char* label, int count, int days, int iterations)
{
    WindowFixture f(1024, 768);
    AddAppointments(f.Control(), count, days);
    f.Snap();
    std::printf("full paint 1024x768, 7 columns, 30-minute rows, %5d appointments %-16s %8.2f ms\n",
                count, label, PaintMs(f, iterations));
}

}  // namespace

int main(int argc, char** argv)
{
    const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    PrintPaint("", 0, 7, iterations);
    PrintPaint("in the week", 1000, 7, iterations);
    PrintPaint("in the week", 32000, 7, iterations);
    PrintPaint("over a year", 32000, 365, iterations);

    WindowFixture f(1024, 768);
    const double start = NowMs();
    AddAppointments(f.Control(), 32000, 365);
    const double addMs = NowMs() - start;
    std::printf("32000 adds with keys                                              %8.2f ms\n",
                addMs);
    const double searchStart = NowMs();
    int16_t found = 0;
    for (int i = 0; i < iterations; ++i)
        found = static_cast<int16_t>(found + f.Control().KeyValue("missing"));
    std::printf("KeyValue of a missing key among 32000                             %8.3f ms\n",
                (NowMs() - searchStart) / iterations);
    return found == 0 ? 0 : 1;
}
