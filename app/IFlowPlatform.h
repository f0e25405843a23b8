// The few services of the window system that the game flow needs: the message
// pump and the timed wait that pumps, the tick count, a plain sleep and the beeps. The program
// implements them over Qt; tests implement them over a queue and a counter.
#pragma once

#include <cstdint>
#include <string>

class IFlowPlatform {
public:
    virtual ~IFlowPlatform() = default;
    // Dispatches every message waiting for this thread (steps and notifications).
    virtual void PumpMessages() = 0;
    // Dispatches messages as they arrive until ms milliseconds have passed,
    // sleeping while none is waiting; at least one PumpMessages() for ms <= 0.
    virtual void PumpMessagesFor(int ms) = 0;
    // Milliseconds, wrapping like a 32-bit tick count.
    virtual uint32_t Tick() = 0;
    virtual void Sleep(int ms) = 0;
    // kBeepDefault or kBeepSimple (rules/TableView.h).
    virtual void Beep(int kind) = 0;
    // The wording the player reads for a text marked with VESK_TRANSLATE_NOOP
    // (UTF-8); without a translation the text itself.
    virtual std::string Text(const char* text) { return text; }
};
