// Dispatches what is pending for the calling thread and returns; used by the
// waits that must keep the windows alive.
#pragma once

void PumpMessages();

// Dispatches messages as they arrive until `ms` milliseconds have passed, and
// sleeps in the event loop while none is waiting: a timed wait that keeps the
// windows alive without using the processor. Pumps once even for ms <= 0.
void PumpMessagesFor(int ms);
