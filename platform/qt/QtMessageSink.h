// A window handle for Qt: other threads post messages to it, and the handler
// runs on the thread that owns the sink (the GUI thread), in posting order.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

#include "platform/MessageSink.h"

class CQtMessageSink : public QObject, public IMessageSink {
public:
    using Handler = std::function<void(uint32_t msg, uintptr_t wParam, intptr_t lParam)>;

    // Create on the thread that is to run `handler`, normally the GUI thread.
    explicit CQtMessageSink(Handler handler, QObject* parent = nullptr);
    ~CQtMessageSink() override;

    // Thread-safe, never blocks. Messages still pending when the sink is
    // destroyed are dropped.
    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    void SetHandler(Handler handler);

    // The event type that carries a posted message.
    static int EventType();

protected:
    bool event(QEvent* e) override;

private:
    Handler m_handler;
};
