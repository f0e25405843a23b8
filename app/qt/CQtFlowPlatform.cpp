#include "app/qt/CQtFlowPlatform.h"

#include <QApplication>
#include <chrono>
#include <thread>

#include "platform/Tick.h"
#include "platform/qt/PumpMessages.h"
#include "platform/qt/Translations.h"

void CQtFlowPlatform::PumpMessages() {
    ::PumpMessages();
}

void CQtFlowPlatform::PumpMessagesFor(int ms) {
    ::PumpMessagesFor(ms);
}

uint32_t CQtFlowPlatform::Tick() {
    return GetTickCount();
}

void CQtFlowPlatform::Sleep(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void CQtFlowPlatform::Beep(int) {
    // Qt has one beep; the default and the simple beep sound alike.
    if (QApplication::instance()) QApplication::beep();
}

std::string CQtFlowPlatform::Text(const char* text) {
    return TranslatedTextUtf8(text);
}
