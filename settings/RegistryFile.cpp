#include "settings/RegistryFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr QLatin1StringView DwordPrefix("dword:");

QString escaped(const QString &text)
{
    QString result;
    for (QChar c : text) {
        if (c == u'\\')
            result += QStringLiteral("\\\\");
        else if (c == u'\n')
            result += QStringLiteral("\\n");
        else if (c == u'\r')
            result += QStringLiteral("\\r");
        else
            result += c;
    }
    return result;
}

QString unescaped(QStringView text)
{
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        const QChar next = text[++i];
        result += next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next;
    }
    return result;
}

bool isDword(QStringView text)
{
    if (!text.startsWith(DwordPrefix, Qt::CaseInsensitive))
        return false;
    const QStringView digits = text.sliced(DwordPrefix.size());
    if (digits.isEmpty() || digits.size() > 8)
        return false;
    for (QChar c : digits) {
        if (!QStringView(u"0123456789abcdefABCDEF").contains(c))
            return false;
    }
    return true;
}

} // namespace

RegistryFile::RegistryFile(QString path) : m_path(std::move(path)) {}

QString RegistryFile::sectionName(Root root, const QString &keyPath)
{
    QStringList parts{rootName(root)};
    for (const QString &part : keyPath.split(u'\\', Qt::SkipEmptyParts))
        parts.append(part);
    return parts.join(u'\\');
}

bool RegistryFile::openKey(Root root, const QString &path, bool forWriting)
{
    m_open = false;
    m_dirty = false;
    m_writeFailed = false;
    if (path.contains(u'\n') || path.contains(u'\r') || path.contains(u']'))
        return false;
    m_section = sectionName(root, path);
    QString error;
    if (!m_profile.load(m_path, &error)) {
        qWarning("%s", qPrintable(error));
        return false; // writing would lose the other keys of the file
    }
    if (forWriting) {
        if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
            return false;
    } else if (!m_profile.hasSection(m_section)) {
        return false;
    }
    m_open = true;
    return true;
}

bool RegistryFile::closeKey()
{
    const bool ok = !m_writeFailed && (!m_dirty || m_profile.save(m_path));
    m_open = m_dirty = m_writeFailed = false;
    return ok;
}

QString RegistryFile::raw(const QString &name) const
{
    return m_profile.readRaw(m_section, name).value_or(QString()).trimmed();
}

RegistryStore::ValueType RegistryFile::valueType(const QString &name) const
{
    if (!m_open || !m_profile.hasKey(m_section, name))
        return ValueType::Missing;
    const QString text = raw(name);
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        return ValueType::String;
    if (isDword(text))
        return ValueType::Integer;
    return ValueType::Other;
}

QString RegistryFile::stringValue(const QString &name) const
{
    const QString text = raw(name);
    return unescaped(QStringView(text).sliced(1, text.size() - 2));
}

qint32 RegistryFile::integerValue(const QString &name) const
{
    return qint32(raw(name).sliced(DwordPrefix.size()).toUInt(nullptr, 16));
}

void RegistryFile::writeString(const QString &name, const QString &value)
{
    m_dirty = true;
    if (!m_open || !m_profile.writeString(m_section, name, u'"' + escaped(value) + u'"'))
        m_writeFailed = true;
}

void RegistryFile::writeInteger(const QString &name, qint32 value)
{
    m_dirty = true;
    const QString text = DwordPrefix + QStringLiteral("%1").arg(quint32(value), 8, 16, QLatin1Char('0'));
    if (!m_open || !m_profile.writeString(m_section, name, text))
        m_writeFailed = true;
}
