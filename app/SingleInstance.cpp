#include "app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <memory>

#ifdef Q_OS_LINUX
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

const QByteArray Accepted = "ok\n";
const QByteArray Refused = "refused\n";
// A request is one short line; anything longer is not from this program.
constexpr qint64 MaxRequestBytes = 256 * 1024;

// The kernel's word on who is at the other end; the socket's folder already keeps
// other users out, this holds even where that folder is shared.
bool peerIsThisUser(const QLocalSocket *socket)
{
#ifdef Q_OS_LINUX
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (getsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return false;
    return credentials.uid == geteuid();
#else
    Q_UNUSED(socket);
    return true;
#endif
}

} // namespace

SingleInstance::SingleInstance(const QString &socketPath, QObject *parent) : QObject(parent), m_socketPath(socketPath)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultSocketPath()
{
    // Qt makes sure the folder is the user's own, with mode 0700.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("verbarium-pro.socket"));
}

SingleInstance::Delivery SingleInstance::send(const QString &socketPath, const LookupRequest &request, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return Delivery::NoInstance;
    socket.write(request.toBytes());
    if (!socket.waitForBytesWritten(timeoutMs))
        return Delivery::NoAnswer;
    QByteArray answer;
    while (!answer.endsWith('\n') && socket.waitForReadyRead(timeoutMs))
        answer += socket.readAll();
    return answer == Accepted ? Delivery::Delivered : Delivery::NoAnswer;
}

bool SingleInstance::listen()
{
    if (m_server)
        return m_server->isListening();
    // Qt would put its socket over one that is served: ask first. Someone answers:
    // another instance runs. No one: a crash left the socket behind, and it goes.
    if (QFileInfo::exists(m_socketPath)) {
        QLocalSocket probe;
        probe.connectToServer(m_socketPath);
        if (probe.waitForConnected(1000)) {
            probe.abort();
            return false;
        }
        QLocalServer::removeServer(m_socketPath);
    }
    auto server = std::make_unique<QLocalServer>(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_socketPath))
        return false;
    m_server = server.release();
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!peerIsThisUser(socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

void SingleInstance::onReadyRead(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > MaxRequestBytes)
            socket->abort();
        return;
    }
    const std::optional<LookupRequest> request = LookupRequest::fromBytes(socket->readLine(MaxRequestBytes));
    socket->write(request ? Accepted : Refused);
    socket->flush();
    socket->disconnectFromServer();
    // The sender waits only for the answer, not for the lookup.
    if (request)
        QMetaObject::invokeMethod(
            this, [this, r = *request] { Q_EMIT requestReceived(r); }, Qt::QueuedConnection);
}
