#include "settings/RegistryStore.h"

#include "common/AppError.h"

RegistryStore::~RegistryStore() = default;

QString RegistryStore::readString(const QString &name) const
{
    switch (valueType(name)) {
    case ValueType::String: return stringValue(name);
    case ValueType::Missing: throw AppError(QStringLiteral("Failed to get data for '%1'").arg(name));
    default: throw AppError(QStringLiteral("Invalid data type for '%1'").arg(name));
    }
}

qint32 RegistryStore::readInteger(const QString &name) const
{
    switch (valueType(name)) {
    case ValueType::Integer: return integerValue(name);
    case ValueType::Missing: throw AppError(QStringLiteral("Failed to get data for '%1'").arg(name));
    default: throw AppError(QStringLiteral("Invalid data type for '%1'").arg(name));
    }
}

QString RegistryStore::rootName(Root root)
{
    switch (root) {
    case Root::ClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
    case Root::CurrentUser: return QStringLiteral("HKEY_CURRENT_USER");
    case Root::LocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case Root::Users: return QStringLiteral("HKEY_USERS");
    case Root::CurrentConfig: return QStringLiteral("HKEY_CURRENT_CONFIG");
    }
    return QStringLiteral("HKEY_CURRENT_USER");
}
