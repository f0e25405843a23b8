// The single-copy check of the start-up. The first copy of the program that a
// user starts listens on a local socket named for that user; a later copy
// connects, asks the first to bring its window to the front and goes on
// starting, so several programs can still share one machine. A socket left
// behind by a copy that died is taken over.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

class CRunningCopy : public QObject {
public:
    // The longest the look-up may hold up the start-up, in ms.
    static constexpr int kWaitMs = 200;
    static constexpr const char* kRaiseRequest = "raise\n";

    // `name`: the socket's name; empty takes the per-user default.
    explicit CRunningCopy(const QString& name = QString(), QObject* parent = nullptr);
    ~CRunningCopy() override;

    // Asks a running copy to come forward. True when one took the request;
    // otherwise this copy starts listening (taking over a dead copy's socket).
    bool Announce();
    bool IsListening() const;
    QString Name() const { return m_name; }

    // Called on the listening copy for every raise request.
    std::function<void()> onRaise;

    // "VeskApp-" and the user's id.
    static QString DefaultName();

private:
    void Listen();
    void ReadRequests();

    QString m_name;
    QLocalServer* m_server = nullptr;
};
