#pragma once

#include "settings/PrivateProfile.h"
#include "settings/RegistryStore.h"

// The registry kept in one INI file: a section per key, named by its full path
// ("HKEY_CURRENT_USER\software\app\Form1"); a string value as "text" in quotation
// marks, a 32-bit number as dword:xxxxxxxx, as a registry export writes them.
class RegistryFile : public RegistryStore
{
public:
    explicit RegistryFile(QString path);

    bool openKey(Root root, const QString &path, bool forWriting) override;
    bool closeKey() override;
    ValueType valueType(const QString &name) const override;
    void writeString(const QString &name, const QString &value) override;
    void writeInteger(const QString &name, qint32 value) override;

    const QString &filePath() const { return m_path; }
    // "HKEY_CURRENT_USER\software\app\Form1"; empty parts of the path dropped.
    static QString sectionName(Root root, const QString &keyPath);

protected:
    QString stringValue(const QString &name) const override;
    qint32 integerValue(const QString &name) const override;

private:
    QString raw(const QString &name) const;

    QString m_path;
    PrivateProfile m_profile;
    QString m_section;
    bool m_open = false;
    bool m_dirty = false;
    bool m_writeFailed = false;
};
