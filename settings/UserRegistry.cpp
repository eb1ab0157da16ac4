#include "settings/UserRegistry.h"

#include "settings/RegistryFile.h"

#ifdef Q_OS_WIN
#include "settings/NativeRegistry.h"
#endif

#include <QStandardPaths>

namespace UserRegistry {

std::unique_ptr<RegistryStore> open()
{
    const QString chosen = qEnvironmentVariable("VERBARIUM_REGISTRY_FILE");
    if (!chosen.isEmpty())
        return std::make_unique<RegistryFile>(chosen);
#ifdef Q_OS_WIN
    return std::make_unique<NativeRegistry>();
#else
    return std::make_unique<RegistryFile>(defaultFilePath());
#endif
}

QString defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/verbarium-pro/registry.ini");
}

} // namespace UserRegistry
