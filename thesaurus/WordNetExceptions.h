#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <utility>

// WordNet's lists of irregular English forms (noun.exc, verb.exc, adj.exc,
// adv.exc): each line is an inflected form followed by its base forms, with '_'
// for a blank ("went go", "mice mouse", "better good well").
class WordNetExceptions
{
public:
    // Reads the lists of the first folder of the path that has any of them. Lines
    // that do not fit, and lines longer than 4,096 bytes, are skipped; a folder
    // without lists gives an empty table. Loading takes time linear in the lists' size.
    static WordNetExceptions load(const QStringList &searchPath);
    // Reads one list into the table.
    void read(const QString &path);

    bool isEmpty() const { return m_bases.isEmpty(); }
    QString folder() const { return m_folder; }
    // The base forms of a form, noun bases first, then verb, adjective and adverb.
    QStringList bases(const QString &form) const { return m_bases.value(form); }

    static const QStringList &fileNames();

private:
    QHash<QString, QStringList> m_bases;
    QSet<std::pair<QString, QString>> m_seen; // the (form, base) pairs read, for one look per pair
    QString m_folder;
};
