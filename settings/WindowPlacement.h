#pragma once

#include "settings/RegistryStore.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <initializer_list>
#include <optional>

// The widget-free half of the window placement store: the stored values and their
// meanings, the order and the rules of a restore, and the record that a save takes.
// Rectangles are a window's outer ones, frame included, in screen pixels.
class WindowPlacement
{
public:
    enum Attribute : quint8 { atPosition, atSize, atVisible, atMinimized, atMaximized };

    // A set of attributes: which parts of the placement are saved and restored.
    class Attributes
    {
    public:
        constexpr Attributes() = default;
        constexpr Attributes(std::initializer_list<Attribute> list)
        {
            for (Attribute a : list)
                m_bits |= quint8(1u << a);
        }
        constexpr bool contains(Attribute a) const { return m_bits & (1u << a); }
        constexpr quint8 bits() const { return m_bits; }
        static constexpr Attributes fromBits(quint8 bits)
        {
            Attributes result;
            result.m_bits = bits & 0x1F;
            return result;
        }
        constexpr bool operator==(const Attributes &) const = default;

    private:
        quint8 m_bits = 0;
    };

    enum class State : qint32 { Normal = 0, Maximized = 1, Minimized = 2 };

    // What a save takes from the window.
    struct Record {
        qint32 top = 0;
        qint32 left = 0;
        qint32 width = 0;
        qint32 height = 0;
        bool visible = false;
        qint32 state = 0;
        bool operator==(const Record &) const = default;
    };

    // What a store asks a restore to apply; anything absent stays as the window has it.
    struct Stored {
        std::optional<qint32> width;  // applied when greater than 0
        std::optional<qint32> height; // applied when greater than 0
        bool placePosition = false;   // at the stored top and left when both are there, else centred
        std::optional<qint32> top;
        std::optional<qint32> left;
        std::optional<bool> visible;
        State state = State::Normal; // Normal: leave the state alone
        bool operator==(const Stored &) const = default;
    };

    struct Options {
        Attributes attributes{atPosition, atSize, atMaximized};
        QString storeVersion;
        bool ownerIsForm = true;
    };

    // Nothing when the key is missing or its "VERSION" is not exactly the store
    // version. A value of the wrong type throws AppError "Invalid data type for '<name>'".
    static std::optional<Stored> readRegistry(RegistryStore &store, RegistryStore::Root root, const QString &keyPath,
                                              const Options &options);
    // False when the key cannot be opened or created, or the values not written.
    static bool writeRegistry(RegistryStore &store, RegistryStore::Root root, const QString &keyPath,
                              const Options &options, const Record &record);
    // The INI form: the same names; "WIDTH", "HEIGHT" and "STATE" read as 0 when
    // missing, "VISIBLE" as "Y" or "N". Reading never creates the file.
    static std::optional<Stored> readIniFile(const QString &file, const QString &section, const Options &options);
    static bool writeIniFile(const QString &file, const QString &section, const Options &options, const Record &record);

    // Size first: each stored dimension greater than 0.
    static QSize restoredSize(QSize current, const Stored &stored);
    // Then position: as stored, or centred on the primary screen when only one of
    // "TOP" and "LEFT" is there. Nothing when the position is not restored. A stored
    // coordinate farther out than any screen could be (beyond 2^30) is taken as 2^30.
    static std::optional<QPoint> restoredPosition(const Stored &stored, QSize primaryScreen, QSize window);
    static QPoint centred(QSize screen, QSize window);
    // The frame as it is when any of it lies on a screen; otherwise moved onto the
    // nearest screen, so that a screen that is gone does not take the window with it.
    static QRect reachable(const QRect &frame, const QList<QRect> &screens);

    // The normal rectangle stands for a maximized or minimized window when the
    // platform reports one.
    static Record record(const QRect &bounds, const std::optional<QRect> &normalBounds, bool visible, bool minimized,
                         bool maximized, Attributes attributes);

    // "\software\<executable without extension>\<component>", or the custom key
    // with a "\" in front.
    static QString registryKeyPath(const QString &customKey, const QString &executable, const QString &component);
    // The executable's file name with its extension replaced by ".ini".
    static QString iniFileName(const QString &executable);
    // Every run of path delimiters becomes one "/"; a path that begins with two
    // (a network path) keeps both.
    static QString checkPathDelimiters(const QString &path);
    // The custom file as it is when its folder exists; else directory, sub-folders
    // and the custom file name (or the executable's .ini name).
    static QString iniFile(const QString &customFile, const QString &directory, const QString &subDirs,
                           const QString &executable);
    // CSIDL_COMMON_APPDATA (0x23) and CSIDL_LOCAL_APPDATA (0x1C); empty for others.
    static QString specialFolder(int csidl);
};
