// Dispatches what is pending for the calling thread and returns; used by the
// waits that must keep the windows alive.
#pragma once

void PumpMessages();
