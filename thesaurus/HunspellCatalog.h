#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Finds the Hunspell dictionaries (.aff/.dic pairs named after their locale, such
// as en_US.dic) along a search path and answers which one serves a locale, with
// the same fallbacks as the thesaurus data.
class HunspellCatalog
{
public:
    struct Files {
        QString affPath;
        QString dicPath;
        QString locale;
        bool isValid() const { return !dicPath.isEmpty(); }
    };

    explicit HunspellCatalog(const QStringList &searchPath);

    QStringList locales() const;

    // The exact locale, the language's preferred locale, the bare language, then any
    // other region of it. A pair with one file missing is still answered, so that
    // its user can say what is wrong with it.
    Files find(const QString &locale, const QString &language, const QString &preferredLocale) const;

private:
    QHash<QString, Files> m_byLocale;
};
