#include "app/qt/CRunningCopy.h"

#include <QLocalServer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

CRunningCopy::CRunningCopy(const QString& name, QObject* parent)
    : QObject(parent), m_name(name.isEmpty() ? DefaultName() : name) {}

CRunningCopy::~CRunningCopy() = default;

QString CRunningCopy::DefaultName() {
    const QString file = QStringLiteral("VeskApp-%1").arg(static_cast<qulonglong>(getuid()));
    // The user's private runtime folder, so that nobody else can take the name
    // first; Qt falls back to a private folder of its own when XDG_RUNTIME_DIR is
    // not set.
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return dir.isEmpty() ? file : QDir(dir).filePath(file);
}

bool CRunningCopy::Announce() {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (socket.waitForConnected(kWaitMs / 2)) {
        socket.write(kRaiseRequest);
        const bool sent = socket.waitForBytesWritten(kWaitMs / 2);
        socket.disconnectFromServer();
        if (sent) return true;
    }
    // Nobody answered: no copy runs, or one died and left its socket behind.
    // A copy that is merely slow keeps its socket; this one then does not listen.
    const auto error = socket.error();
    if (error == QLocalSocket::ServerNotFoundError || error == QLocalSocket::ConnectionRefusedError)
        Listen();
    return false;
}

bool CRunningCopy::IsListening() const {
    return m_server && m_server->isListening();
}

void CRunningCopy::Listen() {
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        delete m_server;
        m_server = nullptr;
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] { ReadRequests(); });
}

void CRunningCopy::ReadRequests() {
    while (QLocalSocket* client = m_server->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        auto handle = [this, client] {
            while (client->canReadLine()) {
                if (client->readLine() == kRaiseRequest && onRaise) onRaise();
            }
        };
        connect(client, &QLocalSocket::readyRead, this, handle);
        handle();
    }
}
