#include "settings/WindowPlacement.h"

#include "settings/PrivateProfile.h"
#include "settings/SettingKey.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <limits>

namespace {

// The values of a window's placement, in the window's own registry key or INI
// section; a missing one reads as empty or 0. "VISIBLE" is a number in the
// registry and "Y" or "N" in a file.
constexpr SettingKey<QString> VersionKey{nullptr, u"VERSION"};
constexpr SettingKey<qint32> TopKey{nullptr, u"TOP"};
constexpr SettingKey<qint32> LeftKey{nullptr, u"LEFT"};
constexpr SettingKey<qint32> WidthKey{nullptr, u"WIDTH"};
constexpr SettingKey<qint32> HeightKey{nullptr, u"HEIGHT"};
constexpr SettingKey<qint32> StateKey{nullptr, u"STATE"};
const QString VERSION = VersionKey.keyName();
const QString TOP = TopKey.keyName();
const QString LEFT = LeftKey.keyName();
const QString WIDTH = WidthKey.keyName();
const QString HEIGHT = HeightKey.keyName();
const QString VISIBLE = QStringLiteral("VISIBLE");
const QString STATE = StateKey.keyName();

using Attribute = WindowPlacement::Attribute;

WindowPlacement::State stateFor(qint32 value, const WindowPlacement::Options &options)
{
    if (value == 1 && options.attributes.contains(WindowPlacement::atMaximized))
        return WindowPlacement::State::Maximized;
    if (value == 2 && options.attributes.contains(WindowPlacement::atMinimized))
        return WindowPlacement::State::Minimized;
    return WindowPlacement::State::Normal;
}

// Closes the key on every path out, errors included.
class KeyCloser
{
public:
    explicit KeyCloser(RegistryStore &store) : m_store(store) {}
    ~KeyCloser()
    {
        if (m_open)
            m_store.closeKey();
    }
    bool close()
    {
        m_open = false;
        return m_store.closeKey();
    }
    KeyCloser(const KeyCloser &) = delete;
    KeyCloser &operator=(const KeyCloser &) = delete;

private:
    RegistryStore &m_store;
    bool m_open = true;
};

// The file name up to its last period.
QString withoutExtension(const QString &executable)
{
    QString name = QFileInfo(executable).fileName();
    const qsizetype period = name.lastIndexOf(u'.');
    if (period >= 0)
        name.truncate(period);
    return name;
}

// No screen lies farther out. A stored position beyond it (a damaged or hand-made
// value) is taken as this far, so that a window's rectangle there, of any size a
// window can have, keeps its far edge within int and can be brought back on screen.
constexpr qint32 FarthestCoordinate = 1 << 30;

qint32 withinReach(qint32 coordinate)
{
    return std::clamp(coordinate, -FarthestCoordinate, FarthestCoordinate);
}

qint64 gap(int beforeEnd, int afterStart)
{
    return std::max<qint64>(0, qint64(afterStart) - beforeEnd);
}

} // namespace

std::optional<WindowPlacement::Stored> WindowPlacement::readRegistry(RegistryStore &store, RegistryStore::Root root,
                                                                     const QString &keyPath, const Options &options)
{
    if (!store.openKey(root, keyPath, false))
        return std::nullopt;
    KeyCloser closer(store);
    if (!store.valueExists(VERSION) || store.readString(VERSION) != options.storeVersion)
        return std::nullopt;

    const Attributes &attributes = options.attributes;
    Stored stored;
    if (attributes.contains(atSize) && store.valueExists(WIDTH) && store.valueExists(HEIGHT)) {
        stored.width = store.readInteger(WIDTH);
        stored.height = store.readInteger(HEIGHT);
    }
    if (attributes.contains(atPosition)) {
        stored.placePosition = true;
        if (store.valueExists(TOP) && store.valueExists(LEFT)) {
            stored.top = store.readInteger(TOP);
            stored.left = store.readInteger(LEFT);
        }
    }
    if (attributes.contains(atVisible) && store.valueExists(VISIBLE))
        stored.visible = store.readInteger(VISIBLE) != 0;
    if (options.ownerIsForm && store.valueExists(STATE))
        stored.state = stateFor(store.readInteger(STATE), options);
    return stored;
}

bool WindowPlacement::writeRegistry(RegistryStore &store, RegistryStore::Root root, const QString &keyPath,
                                    const Options &options, const Record &record)
{
    if (!store.openKey(root, keyPath, true))
        return false;
    KeyCloser closer(store);
    const Attributes &attributes = options.attributes;
    store.writeString(VERSION, options.storeVersion);
    if (attributes.contains(atPosition)) {
        store.writeInteger(TOP, record.top);
        store.writeInteger(LEFT, record.left);
    }
    if (attributes.contains(atSize)) {
        store.writeInteger(WIDTH, record.width);
        store.writeInteger(HEIGHT, record.height);
    }
    if (attributes.contains(atVisible))
        store.writeInteger(VISIBLE, record.visible ? 1 : 0);
    if (attributes.contains(atMinimized) || attributes.contains(atMaximized))
        store.writeInteger(STATE, record.state);
    return closer.close();
}

std::optional<WindowPlacement::Stored> WindowPlacement::readIniFile(const QString &file, const QString &section,
                                                                    const Options &options)
{
    PrivateProfile profile;
    if (!profile.load(file))
        return std::nullopt;
    if (!profile.hasKey(section, VERSION) || readSetting(profile, VersionKey, section) != options.storeVersion)
        return std::nullopt;

    const Attributes &attributes = options.attributes;
    Stored stored;
    if (attributes.contains(atSize)) {
        stored.width = readSetting(profile, WidthKey, section);
        stored.height = readSetting(profile, HeightKey, section);
    }
    if (attributes.contains(atPosition)) {
        stored.placePosition = true;
        if (profile.hasKey(section, TOP) && profile.hasKey(section, LEFT)) {
            stored.top = readSetting(profile, TopKey, section);
            stored.left = readSetting(profile, LeftKey, section);
        }
    }
    if (attributes.contains(atVisible))
        stored.visible = profile.readString(section, VISIBLE, QString()) != u"N";
    if (options.ownerIsForm)
        stored.state = stateFor(readSetting(profile, StateKey, section), options);
    return stored;
}

bool WindowPlacement::writeIniFile(const QString &file, const QString &section, const Options &options, const Record &record)
{
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    PrivateProfile profile;
    if (!profile.load(file))
        return false;
    const Attributes &attributes = options.attributes;
    bool ok = writeSetting(profile, VersionKey, options.storeVersion, section);
    if (attributes.contains(atPosition))
        ok = ok && writeSetting(profile, TopKey, record.top, section)
             && writeSetting(profile, LeftKey, record.left, section);
    if (attributes.contains(atSize))
        ok = ok && writeSetting(profile, WidthKey, record.width, section)
             && writeSetting(profile, HeightKey, record.height, section);
    if (attributes.contains(atVisible))
        ok = ok && profile.writeString(section, VISIBLE, record.visible ? QStringLiteral("Y") : QStringLiteral("N"));
    if (attributes.contains(atMinimized) || attributes.contains(atMaximized))
        ok = ok && writeSetting(profile, StateKey, record.state, section);
    return ok && profile.save(file);
}

QSize WindowPlacement::restoredSize(QSize current, const Stored &stored)
{
    if (stored.width && *stored.width > 0)
        current.setWidth(*stored.width);
    if (stored.height && *stored.height > 0)
        current.setHeight(*stored.height);
    return current;
}

std::optional<QPoint> WindowPlacement::restoredPosition(const Stored &stored, QSize primaryScreen, QSize window)
{
    if (!stored.placePosition)
        return std::nullopt;
    if (stored.top && stored.left)
        return QPoint(withinReach(*stored.left), withinReach(*stored.top));
    return centred(primaryScreen, window);
}

QPoint WindowPlacement::centred(QSize screen, QSize window)
{
    // Each half by integer division, rounded toward zero (also for a window larger than the screen).
    return {screen.width() / 2 - window.width() / 2, screen.height() / 2 - window.height() / 2};
}

QRect WindowPlacement::reachable(const QRect &frame, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return frame;
    const QRect *nearest = nullptr;
    qint64 nearestDistance = std::numeric_limits<qint64>::max();
    for (const QRect &screen : screens) {
        if (screen.intersects(frame))
            return frame;
        const qint64 dx = std::max(gap(frame.right(), screen.left()), gap(screen.right(), frame.left()));
        const qint64 dy = std::max(gap(frame.bottom(), screen.top()), gap(screen.bottom(), frame.top()));
        const qint64 distance = dx * dx + dy * dy;
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = &screen;
        }
    }
    const auto fit = [](int start, int length, int areaStart, int areaLength) {
        if (length >= areaLength)
            return areaStart;
        return std::clamp(start, areaStart, areaStart + areaLength - length);
    };
    QRect moved = frame;
    moved.moveTo(fit(frame.left(), frame.width(), nearest->left(), nearest->width()),
                 fit(frame.top(), frame.height(), nearest->top(), nearest->height()));
    return moved;
}

WindowPlacement::Record WindowPlacement::record(const QRect &bounds, const std::optional<QRect> &normalBounds,
                                                bool visible, bool minimized, bool maximized, Attributes attributes)
{
    qint32 state = 0;
    if (attributes.contains(atMinimized) && minimized)
        state = qint32(State::Minimized);
    if (attributes.contains(atMaximized) && maximized)
        state = qint32(State::Maximized);
    const QRect rect = state != 0 && normalBounds && normalBounds->isValid() ? *normalBounds : bounds;
    return {rect.top(), rect.left(), rect.width(), rect.height(), visible, state};
}

QString WindowPlacement::registryKeyPath(const QString &customKey, const QString &executable, const QString &component)
{
    if (!customKey.isEmpty())
        return customKey.startsWith(u'\\') ? customKey : u'\\' + customKey;
    return QStringLiteral("\\software\\") + withoutExtension(executable) + u'\\' + component;
}

QString WindowPlacement::iniFileName(const QString &executable)
{
    return withoutExtension(executable) + QStringLiteral(".ini");
}

QString WindowPlacement::checkPathDelimiters(const QString &path)
{
    const auto isDelimiter = [](QChar c) { return c == u'\\' || c == u'/'; };
    QString result;
    qsizetype i = 0;
    if (path.size() >= 2 && isDelimiter(path[0]) && isDelimiter(path[1])) {
        result = QStringLiteral("//");
        while (i < path.size() && isDelimiter(path[i]))
            ++i;
    }
    for (; i < path.size(); ++i) {
        if (!isDelimiter(path[i]))
            result += path[i];
        else if (!result.endsWith(u'/'))
            result += u'/';
    }
    return result;
}

QString WindowPlacement::iniFile(const QString &customFile, const QString &directory, const QString &subDirs,
                                 const QString &executable)
{
    if (!customFile.isEmpty()) {
        const qsizetype delimiter = std::max(customFile.lastIndexOf(u'/'), customFile.lastIndexOf(u'\\'));
        const QString folder = customFile.left(std::max<qsizetype>(delimiter, 0));
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return customFile;
    }
    const QString name = customFile.isEmpty() ? iniFileName(executable) : customFile;
    return checkPathDelimiters(directory + u'/' + subDirs + u'/' + name);
}

QString WindowPlacement::specialFolder(int csidl)
{
    switch (csidl) {
    case 0x1C: return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    case 0x23:
        // The machine-wide one after the user's own: ProgramData on Windows, /etc/xdg elsewhere.
        return QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation).value(1);
    default: return {};
    }
}
