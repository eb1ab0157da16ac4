#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Finds the thesaurus data files (.idx/.dat pairs) along the search path and
// answers which pair serves a locale.
class ThesaurusCatalog
{
public:
    struct DataFiles {
        QString idxPath;
        QString datPath;
        QString locale; // the locale the files are for, which may differ from the one asked
        bool isValid() const { return !idxPath.isEmpty(); }
    };
    // A thesaurus file that cannot serve: an index named like one that cannot be
    // read, or the data file of a readable index that is missing or leads nowhere.
    struct Unreadable {
        QString path;   // the file as it stands in its folder
        QString reason; // "it is not a regular file", "permission denied", "it is missing, ..."
    };

    // The search path: VERBARIUM_THESAURUS_PATH (a list, separated like PATH), the
    // user's $XDG_DATA_HOME/verbarium-pro/thesaurus, mythes/ under every folder of
    // $XDG_DATA_DIRS, the thesaurus folder beside the executable, then the system
    // folders. A folder named twice is kept at its first place.
    static QStringList defaultSearchPath();
    // The same for Hunspell dictionaries, without a variable of its own:
    // $XDG_DATA_HOME/verbarium-pro/hunspell, hunspell/ under $XDG_DATA_DIRS, the
    // hunspell folder beside the executable, then the system folders.
    static QStringList defaultHunspellSearchPath();
    // The data folders by XDG's rules: $XDG_DATA_HOME, every folder of
    // $XDG_DATA_DIRS, then /usr/local/share and /usr/share, each once.
    static QStringList dataFolders();

    explicit ThesaurusCatalog(const QStringList &searchPath = defaultSearchPath());

    const QStringList &searchPath() const { return m_searchPath; }
    bool isEmpty() const { return m_byLocale.isEmpty(); }
    QStringList locales() const;
    // The files passed over because they cannot be read, folder by folder, by name
    // within a folder.
    const QList<Unreadable> &unreadable() const { return m_unreadable; }

    // The files for a locale: the exact locale first, then the preferred locale of
    // the same language, then a file for the bare language, then any other region
    // of it. An invalid result when the language has no data.
    DataFiles find(const QString &locale, const QString &language, const QString &preferredLocale) const;

    // "th_de_DE_v2" -> "de_DE", "thes_fr" -> "fr", with the format version (0 if none).
    // Empty for names that are not thesaurus files.
    static QString localeFromBaseName(const QString &baseName, int *version = nullptr);

private:
    QStringList m_searchPath;
    QHash<QString, DataFiles> m_byLocale;
    QList<Unreadable> m_unreadable;
};
