// Progress lines for people and scripts that watch a running program: one line
// per event on standard error, "vesk-trace: <ms since start> <event> ...".
// Off unless switched on (the program's --trace option or VESK_TRACE=1).
#pragma once

void SetTraceEnabled(bool on);
bool TraceEnabled();
// printf-style; writes nothing while tracing is off.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
