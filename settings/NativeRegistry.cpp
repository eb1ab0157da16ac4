#include "settings/NativeRegistry.h"

#include <qt_windows.h>

#include <cwchar>
#include <utility>
#include <vector>

namespace {

HKEY rootKey(RegistryStore::Root root)
{
    switch (root) {
    case RegistryStore::Root::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryStore::Root::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryStore::Root::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryStore::Root::Users: return HKEY_USERS;
    case RegistryStore::Root::CurrentConfig: return HKEY_CURRENT_CONFIG;
    }
    return HKEY_CURRENT_USER;
}

std::wstring wide(const QString &text)
{
    return text.toStdWString();
}

} // namespace

NativeRegistry::~NativeRegistry()
{
    closeKey();
}

bool NativeRegistry::openKey(Root root, const QString &path, bool forWriting)
{
    closeKey();
    QString subKey = path;
    while (subKey.startsWith(u'\\'))
        subKey.remove(0, 1);
    HKEY key = nullptr;
    const std::wstring name = wide(subKey);
    const LSTATUS status = forWriting ? RegCreateKeyExW(rootKey(root), name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr)
                                      : RegOpenKeyExW(rootKey(root), name.c_str(), 0, KEY_READ, &key);
    if (status != ERROR_SUCCESS)
        return false;
    m_key = key;
    return true;
}

bool NativeRegistry::closeKey()
{
    if (m_key)
        RegCloseKey(static_cast<HKEY>(m_key));
    m_key = nullptr;
    return !std::exchange(m_writeFailed, false);
}

RegistryStore::ValueType NativeRegistry::valueType(const QString &name) const
{
    if (!m_key)
        return ValueType::Missing;
    DWORD type = 0;
    const std::wstring valueName = wide(name);
    if (RegQueryValueExW(static_cast<HKEY>(m_key), valueName.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return ValueType::Missing;
    if (type == REG_SZ || type == REG_EXPAND_SZ)
        return ValueType::String;
    if (type == REG_DWORD)
        return ValueType::Integer;
    return ValueType::Other;
}

QString NativeRegistry::stringValue(const QString &name) const
{
    const std::wstring valueName = wide(name);
    DWORD size = 0;
    if (RegQueryValueExW(static_cast<HKEY>(m_key), valueName.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(static_cast<HKEY>(m_key), valueName.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE *>(buffer.data()), &size)
        != ERROR_SUCCESS)
        return {};
    // The stored text may or may not end with its terminating zero.
    return QString::fromWCharArray(buffer.data(), qsizetype(wcsnlen(buffer.data(), size / sizeof(wchar_t))));
}

qint32 NativeRegistry::integerValue(const QString &name) const
{
    const std::wstring valueName = wide(name);
    DWORD value = 0;
    DWORD size = sizeof(value);
    RegQueryValueExW(static_cast<HKEY>(m_key), valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE *>(&value),
                     &size);
    return qint32(value);
}

void NativeRegistry::writeString(const QString &name, const QString &value)
{
    const std::wstring valueName = wide(name);
    const std::wstring data = wide(value);
    if (!m_key
        || RegSetValueExW(static_cast<HKEY>(m_key), valueName.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE *>(data.c_str()), DWORD((data.size() + 1) * sizeof(wchar_t)))
               != ERROR_SUCCESS)
        m_writeFailed = true;
}

void NativeRegistry::writeInteger(const QString &name, qint32 value)
{
    const std::wstring valueName = wide(name);
    const DWORD data = DWORD(quint32(value));
    if (!m_key
        || RegSetValueExW(static_cast<HKEY>(m_key), valueName.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE *>(&data), sizeof(data))
               != ERROR_SUCCESS)
        m_writeFailed = true;
}
