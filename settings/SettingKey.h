#pragma once

#include <QString>

#include <type_traits>

// A key of an INI section or of a registry key, declared once with the type of
// its value and its default, so that every reader and writer of it agrees on
// name, type and what a missing value reads as.
template <typename Value>
struct SettingKey {
    using ValueType = Value;
    // A text's default is held as a literal, so that keys stay constants.
    using DefaultType = std::conditional_t<std::is_same_v<Value, QString>, const char16_t *, Value>;

    const char16_t *section; // nullptr where the section is the caller's, a window's own
    const char16_t *name;
    DefaultType fallback{}; // what a missing or unreadable value reads as

    QString sectionName() const { return section ? QString::fromUtf16(section) : QString(); }
    QString keyName() const { return QString::fromUtf16(name); }
    Value defaultValue() const
    {
        if constexpr (std::is_same_v<Value, QString>)
            return fallback ? QString::fromUtf16(fallback) : QString();
        else
            return fallback;
    }
};

// Reads and writes a typed key of an INI profile (PrivateProfile) in the key's own
// section, or in the one given for keys without a section of their own. A missing
// value reads as the key's default.
template <typename Profile, typename Value>
Value readSetting(const Profile &profile, const SettingKey<Value> &key, const QString &section = {})
{
    const QString in = key.section ? key.sectionName() : section;
    if constexpr (std::is_same_v<Value, QString>)
        return profile.readString(in, key.keyName(), key.defaultValue());
    else
        return Value(profile.readInteger(in, key.keyName(), qint32(key.defaultValue())));
}

template <typename Profile, typename Value>
bool writeSetting(Profile &profile, const SettingKey<Value> &key, const std::type_identity_t<Value> &value,
                  const QString &section = {})
{
    const QString in = key.section ? key.sectionName() : section;
    if constexpr (std::is_same_v<Value, QString>)
        return profile.writeString(in, key.keyName(), value);
    else
        return profile.writeInteger(in, key.keyName(), qint32(value));
}
