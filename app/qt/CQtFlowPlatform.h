// The game flow's window-system services over Qt: the event pump, the tick
// count, a plain sleep, the beep and the translated texts.
#pragma once

#include "app/IFlowPlatform.h"

class CQtFlowPlatform : public IFlowPlatform {
public:
    void PumpMessages() override;
    void PumpMessagesFor(int ms) override;
    uint32_t Tick() override;
    void Sleep(int ms) override;
    void Beep(int kind) override;
    std::string Text(const char* text) override;
};
