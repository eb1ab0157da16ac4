#pragma once

#include <QString>

// A key of the registry and its typed values: where the window placement is kept.
// On Windows the real registry; elsewhere a file in the user's configuration folder
// with the same key paths, value names, types and meanings (UserRegistry chooses). Names match without
// regard to case. Writes reach the store when the key is closed.
class RegistryStore
{
public:
    enum class Root : quint32 {
        ClassesRoot = 0x80000000u,
        CurrentUser = 0x80000001u,
        LocalMachine = 0x80000002u,
        Users = 0x80000003u,
        CurrentConfig = 0x80000005u,
    };
    enum class ValueType { Missing, String, Integer, Other };

    virtual ~RegistryStore();

    // Reading: false when the key does not exist. Writing: creates the key and the
    // keys above it when missing; false when that is not possible.
    virtual bool openKey(Root root, const QString &path, bool forWriting) = 0;
    // Writes what was set since the key was opened; false when that failed.
    virtual bool closeKey() = 0;

    virtual ValueType valueType(const QString &name) const = 0;
    bool valueExists(const QString &name) const { return valueType(name) != ValueType::Missing; }
    // Throw AppError "Invalid data type for '<name>'" for a value of another type,
    // and "Failed to get data for '<name>'" for a missing one.
    QString readString(const QString &name) const;
    qint32 readInteger(const QString &name) const; // the 32-bit pattern, signed
    virtual void writeString(const QString &name, const QString &value) = 0;
    virtual void writeInteger(const QString &name, qint32 value) = 0;

    // "HKEY_CURRENT_USER" and so on.
    static QString rootName(Root root);

protected:
    virtual QString stringValue(const QString &name) const = 0;
    virtual qint32 integerValue(const QString &name) const = 0;
};
