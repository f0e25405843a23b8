#include "app/qt/CStatusPanes.h"

#include <QLabel>
#include <QStatusBar>
#include <QTime>
#include <QTimer>

namespace {
const QString kEmptyMessage = QStringLiteral(" ");
const QString kClockTemplate = QStringLiteral(" 00:00:00 ");
} // namespace

CStatusPanes::CStatusPanes(QStatusBar& bar) : QObject(&bar), m_bar(bar) {
    bar.setSizeGripEnabled(false);
    m_message = new QLabel(kEmptyMessage, &bar);
    m_clock = new QLabel(kClockTemplate, &bar);
    m_clock->setFrameShape(QFrame::Panel);
    m_clock->setFrameShadow(QFrame::Sunken);
    m_clock->setAlignment(Qt::AlignCenter);
    m_clock->setFixedWidth(m_clock->sizeHint().width());
    m_prompt = new QLabel(&bar);
    bar.addWidget(m_message, 1);
    bar.addWidget(m_prompt, 1);
    bar.addPermanentWidget(m_clock);
    m_timer = new QTimer(this);
    m_timer->setInterval(kClockInterval);
    connect(m_timer, &QTimer::timeout, this, [this] { UpdateClock(); });
    SetMode(kGameMode);
}

void CStatusPanes::SetMode(int mode) {
    if (mode != m_mode) {
        const bool game = mode == kGameMode;
        m_message->setVisible(game);
        m_clock->setVisible(game);
        m_prompt->setVisible(!game);
        m_prompt->clear();
        if (game)
            m_timer->start();
        else
            m_timer->stop();
    }
    m_mode = mode;
    if (mode == kGameMode && onGameMode) onGameMode();
}

void CStatusPanes::SetText(const std::string& text) {
    if (m_mode != kGameMode) return;
    const std::string fitted = Fit(text);
    m_message->setText(fitted.empty() ? kEmptyMessage : QString::fromStdString(fitted));
}

void CStatusPanes::SetPrompt(const QString& prompt) {
    if (m_mode == kMenuMode) m_prompt->setText(prompt);
}

void CStatusPanes::UpdateClock() {
    if (m_mode != kGameMode) return;
    const QTime now = QTime::currentTime();
    m_clock->setText(ClockText(now.hour(), now.minute(), now.second()));
    m_clock->setEnabled(true);
    if (onClock) onClock();
}

bool CStatusPanes::ClockRunning() const {
    return m_timer->isActive();
}

std::string CStatusPanes::Fit(const std::string& text) {
    if (text.size() <= kMaxText) return text;
    size_t end = kMaxText;
    // Step back over continuation bytes so that no character is cut in half.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

QString CStatusPanes::ClockText(int hours, int minutes, int seconds) {
    return QString::asprintf("%02i:%02i:%02i", hours, minutes, seconds);
}
