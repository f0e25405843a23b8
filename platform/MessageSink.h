// A window that other threads may post messages to. The Qt layer implements it
// by posting events to a QObject; tests implement it with a queue.
#pragma once

#include <cstdint>

class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    // Thread-safe; never blocks on the receiver.
    virtual void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
};

// What the library and the game flow call a window handle.
using HWND = IMessageSink*;
