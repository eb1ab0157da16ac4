#include "info/Connectivity.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QPluginLoader>
#include <QSet>

#include <system_error>
#include <utility>

bool CheckInternetConnection()
{
    return Connectivity::instance().isOnline();
}

namespace {
std::unique_ptr<Connectivity> &current()
{
    static std::unique_ptr<Connectivity> connectivity;
    return connectivity;
}

// Interface names that carry a route, from the kernel's routing tables.
QSet<QString> routedInterfaces()
{
    QSet<QString> names;
    QFile ipv4(QStringLiteral("/proc/net/route"));
    if (ipv4.open(QIODevice::ReadOnly)) {
        ipv4.readLine(); // header
        while (!ipv4.atEnd()) {
            const QList<QByteArray> fields = ipv4.readLine().simplified().split(' ');
            if (!fields.isEmpty() && !fields.first().isEmpty())
                names.insert(QString::fromLatin1(fields.first()));
        }
    }
    QFile ipv6(QStringLiteral("/proc/net/ipv6_route"));
    if (ipv6.open(QIODevice::ReadOnly)) {
        while (!ipv6.atEnd()) {
            const QList<QByteArray> fields = ipv6.readLine().simplified().split(' ');
            if (fields.size() >= 10)
                names.insert(QString::fromLatin1(fields.last()));
        }
    }
    return names;
}
} // namespace

Connectivity &Connectivity::instance()
{
    if (!current())
        current() = std::make_unique<SystemConnectivity>();
    return *current();
}

void Connectivity::setInstance(std::unique_ptr<Connectivity> connectivity)
{
    current() = std::move(connectivity);
}

SystemConnectivity::~SystemConnectivity()
{
    if (m_prepared.valid())
        m_prepared.wait();
}

void SystemConnectivity::prepare()
{
    if (std::exchange(m_preparing, true))
        return;
    QStringList plugins;
    for (const QString &folder : QCoreApplication::libraryPaths()) {
        const QDir backends(folder + QStringLiteral("/networkinformation"));
        for (const QString &name : backends.entryList(QDir::Files))
            plugins.append(backends.filePath(name));
    }
    // Loaded here, they stay loaded: Qt's own load of a backend then finds it and
    // every library it needs already mapped. The plugin loader takes only what its
    // metadata shows to be a plugin for this Qt, as Qt's own load does.
    // Only a head start: when it fails (no thread to be had, no memory), Qt loads
    // the backends itself at the first question, as it would without it.
    try {
        m_prepared = std::async(std::launch::async, [plugins] {
            try {
                for (const QString &path : plugins) {
                    QPluginLoader plugin(path);
                    plugin.load();
                }
            } catch (...) {
            }
        });
    } catch (const std::system_error &) {
    }
}

bool SystemConnectivity::isOnline()
{
    if (m_prepared.valid())
        m_prepared.get();
    static const bool backend = QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    if (backend && QNetworkInformation::instance()) {
        switch (QNetworkInformation::instance()->reachability()) {
        case QNetworkInformation::Reachability::Online:
        case QNetworkInformation::Reachability::Site: return true;
        case QNetworkInformation::Reachability::Disconnected:
        case QNetworkInformation::Reachability::Local: return false;
        case QNetworkInformation::Reachability::Unknown: break;
        }
    }
    return hasRoutedInterface();
}

bool SystemConnectivity::hasRoutedInterface()
{
    const QSet<QString> routed = routedInterfaces();
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        const auto flags = interface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning)
            && !flags.testFlag(QNetworkInterface::IsLoopBack) && routed.contains(interface.name()))
            return true;
    }
    return false;
}
