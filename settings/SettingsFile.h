#pragma once

#include "common/TColor.h"
#include "settings/SettingKey.h"

#include <QString>

// The Settings file: the display font and the clipboard delimiter, in the
// sections "Font" and "General". It lies beside the executable for a portable
// copy, and in the user's configuration folder for an installed one.
class SettingsFile
{
public:
    // The style set as the file stores it.
    enum StyleBit : quint8 { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

    // The keys of the file, each with its section, the type of its value and its
    // default: the one place of each.
    static constexpr SettingKey<QString> FontName{u"Font", u"FontName", u"Arial"};
    static constexpr SettingKey<qint32> FontColor{u"Font", u"FontColor", TColor::clDefault};
    static constexpr SettingKey<qint32> FontSize{u"Font", u"FontSize", 10};
    static constexpr SettingKey<qint32> FontStyle{u"Font", u"FontStyle", 0}; // the style bits in the low byte
    // Also the window's delimiter before the file is read. (Asked for as ". ", the
    // profile would give "." all the same: it drops a default's trailing blanks.)
    static constexpr SettingKey<QString> ClipBoardDelimiter{u"General", u"ClipBoardDelimiter", u"."};
    // Options beyond the font and the delimiter, 1 on, 0 off; written only once one
    // differs from its default, so that a file of a writer who never set them
    // stays as it was.
    static constexpr SettingKey<qint32> MostCommonFirst{u"General", u"MostCommonFirst", 0};
    static constexpr SettingKey<qint32> KeepHistory{u"General", u"KeepHistory", 1};

    // What the file holds; a new value is what a missing file reads as.
    struct Values {
        QString faceName = FontName.defaultValue(); // empty: keep the new font's own face
        qint32 color = FontColor.defaultValue();
        qint32 size = FontSize.defaultValue();
        quint8 style = quint8(FontStyle.defaultValue()); // the low eight bits; those above fsStrikeOut kept as read
        QString delimiter = ClipBoardDelimiter.defaultValue();
        bool mostCommonFirst = MostCommonFirst.defaultValue() != 0;
        bool keepHistory = KeepHistory.defaultValue() != 0;

        bool operator==(const Values &) const = default;
    };

    // The executable's path with its extension replaced by ".ini".
    static QString pathFor(const QString &executable);
    // The running program's file, or the one that VERBARIUM_SETTINGS_FILE names.
    static QString path();
    // Beside the executable when that file exists or its folder takes new files;
    // otherwise the same file name in <configHome>/verbarium-pro.
    static QString locate(const QString &executable, const QString &configHome);
    // $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute.
    static QString configHome();

    // Never fails: a missing or unreadable file, section or key, or a value that
    // does not convert, gives that key's default.
    static Values load(const QString &path);
    // Writes the five keys (and the options, where set or already there) and keeps
    // the file's other content. The file is replaced
    // whole and only once the new one is complete, so a failed save leaves the old
    // one as it was. A missing folder is made first. Throws AppError "Unable to write to <path>".
    static void save(const QString &path, const Values &values);

    // "§" + the text with every "§" doubled + "§"; line breaks as "§n" and "§r",
    // which no doubled "§" can produce.
    static QString quoteDelimiter(const QString &delimiter);
    // Every "§" goes; inside a value enclosed in "§" the line-break pairs come back.
    static QString unquoteDelimiter(const QString &stored);
};
