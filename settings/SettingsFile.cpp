#include "settings/SettingsFile.h"

#include "common/AppError.h"
#include "settings/PrivateProfile.h"
#include "settings/SettingKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

constexpr QChar Quote = u'\u00A7';

// An option is written when it differs from its default or the file has it.
bool writeOption(PrivateProfile &profile, const SettingKey<qint32> &key, bool on)
{
    const qint32 value = on ? 1 : 0;
    if (value == key.defaultValue() && !profile.hasKey(key.sectionName(), key.keyName()))
        return true;
    return writeSetting(profile, key, value);
}

} // namespace

QString SettingsFile::pathFor(const QString &executable)
{
    const QFileInfo info(executable);
    QString name = info.fileName();
    const qsizetype period = name.lastIndexOf(u'.');
    if (period >= 0)
        name.truncate(period);
    return info.dir().filePath(name + QStringLiteral(".ini"));
}

QString SettingsFile::path()
{
    const QString chosen = qEnvironmentVariable("VERBARIUM_SETTINGS_FILE");
    return chosen.isEmpty() ? locate(QCoreApplication::applicationFilePath(), configHome()) : chosen;
}

QString SettingsFile::locate(const QString &executable, const QString &configHome)
{
    const QString beside = pathFor(executable);
    if (QFileInfo::exists(beside))
        return beside;
    // Permission bits do not tell (root passes them, read-only mounts ignore them):
    // only a file actually made there shows that the folder takes new files.
    QTemporaryFile probe(QFileInfo(beside).dir().filePath(QStringLiteral(".verbarium-probe-XXXXXX")));
    if (probe.open())
        return beside;
    return QDir(configHome).filePath(QStringLiteral("verbarium-pro/") + QFileInfo(beside).fileName());
}

QString SettingsFile::configHome()
{
    const QString fromEnvironment = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(fromEnvironment))
        return QDir::cleanPath(fromEnvironment);
    return QDir::homePath() + QStringLiteral("/.config");
}

SettingsFile::Values SettingsFile::load(const QString &path)
{
    PrivateProfile profile;
    // A file that cannot be read gives the defaults; the reason goes to the log.
    QString error;
    if (!profile.load(path, &error))
        qWarning("%s", qPrintable(error));
    Values values;
    values.faceName = readSetting(profile, FontName);
    values.color = readSetting(profile, FontColor);
    values.size = readSetting(profile, FontSize);
    values.style = quint8(readSetting(profile, FontStyle) & 0xFF);
    values.delimiter = unquoteDelimiter(readSetting(profile, ClipBoardDelimiter));
    values.mostCommonFirst = readSetting(profile, MostCommonFirst) != 0;
    values.keepHistory = readSetting(profile, KeepHistory) != 0;
    return values;
}

void SettingsFile::save(const QString &path, const Values &values)
{
    PrivateProfile profile;
    // The configuration folder of a new user may not be there yet.
    const bool folder = QDir().mkpath(QFileInfo(path).absolutePath());
    // A file that exists but cannot be read is not written over: its other content would go.
    const bool written = folder && profile.load(path) && writeSetting(profile, FontName, values.faceName)
                         && writeSetting(profile, FontColor, values.color) && writeSetting(profile, FontSize, values.size)
                         && writeSetting(profile, FontStyle, qint32(values.style))
                         && writeSetting(profile, ClipBoardDelimiter, quoteDelimiter(values.delimiter))
                         && writeOption(profile, MostCommonFirst, values.mostCommonFirst)
                         && writeOption(profile, KeepHistory, values.keepHistory) && profile.save(path);
    if (!written)
        throw AppError(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(path)));
}

QString SettingsFile::quoteDelimiter(const QString &delimiter)
{
    QString quoted(Quote);
    for (QChar c : delimiter) {
        if (c == Quote)
            quoted += QString(2, Quote);
        else if (c == u'\n')
            quoted += Quote + QStringLiteral("n");
        else if (c == u'\r')
            quoted += Quote + QStringLiteral("r");
        else
            quoted += c;
    }
    return quoted + Quote;
}

QString SettingsFile::unquoteDelimiter(const QString &stored)
{
    const bool enclosed = stored.size() >= 2 && stored.front() == Quote && stored.back() == Quote;
    if (!enclosed) {
        QString text = stored;
        return text.remove(Quote);
    }
    const QStringView inner = QStringView(stored).sliced(1, stored.size() - 2);
    QString text;
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] != Quote) {
            text += inner[i];
            continue;
        }
        const QChar next = i + 1 < inner.size() ? inner[i + 1] : QChar();
        if (next == Quote || next == u'n' || next == u'r') {
            if (next == u'n')
                text += u'\n';
            else if (next == u'r')
                text += u'\r';
            ++i;
        }
    }
    return text;
}
