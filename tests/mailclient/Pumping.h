// Running the thread's message loop in the mail client tests: for a moment, or until what a
// test waits for has happened (bounded, so that a fault ends the test rather than hanging it).
#pragma once

#include <windows.h>

#include "MessagePump.h"

inline void PumpFor(DWORD ms)
{
    MessagePump pump;
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms;)
        pump.Turn();
}

// Pumps until done() holds or limitMs have passed.
template <typename Done>
void PumpUntil(Done done, DWORD limitMs)
{
    for (DWORD start = GetTickCount(); !done() && GetTickCount() - start < limitMs;)
        PumpFor(20);
}
