#pragma once

#include "app/CommandLine.h"

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// One window per user: the first start serves a local socket in the user's
// runtime folder, later starts hand their request to it and end.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Delivery { Delivered, NoInstance, NoAnswer };

    explicit SingleInstance(const QString &socketPath = defaultSocketPath(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // <the user's runtime folder>/verbarium-pro.socket. The folder is the user's
    // own (mode 0700), so no other user reaches the socket.
    static QString defaultSocketPath();

    // Hands the request to the instance serving socketPath and waits for it to be taken.
    static Delivery send(const QString &socketPath, const LookupRequest &request, int timeoutMs = 5000);

    // Serves the socket. A socket left behind by an instance that crashed is
    // replaced; false when another instance serves it or it cannot be made.
    bool listen();
    const QString &socketPath() const { return m_socketPath; }

Q_SIGNALS:
    // A request of another start of this user, after it was acknowledged.
    void requestReceived(const LookupRequest &request);

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket *socket);

    QString m_socketPath;
    QLocalServer *m_server = nullptr;
};
