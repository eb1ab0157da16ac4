#pragma once

#include "settings/RegistryStore.h"

// The Windows registry itself.
class NativeRegistry : public RegistryStore
{
public:
    NativeRegistry() = default;
    ~NativeRegistry() override;
    NativeRegistry(const NativeRegistry &) = delete;
    NativeRegistry &operator=(const NativeRegistry &) = delete;

    bool openKey(Root root, const QString &path, bool forWriting) override;
    bool closeKey() override;
    ValueType valueType(const QString &name) const override;
    void writeString(const QString &name, const QString &value) override;
    void writeInteger(const QString &name, qint32 value) override;

protected:
    QString stringValue(const QString &name) const override;
    qint32 integerValue(const QString &name) const override;

private:
    void *m_key = nullptr; // HKEY
    bool m_writeFailed = false;
};
