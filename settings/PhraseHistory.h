#pragma once

#include <QList>
#include <QString>

// The phrases a writer has generated, most recent first, with the language and
// depth each was generated at. Kept in one file, written whole and at once after
// every change; a file that cannot be read as a history is set aside beside it
// (".damaged", or ".damaged-2" and on when an earlier one is there) so that
// nothing in it is lost and the history starts afresh.
class PhraseHistory
{
public:
    struct Item {
        QString phrase;
        QString language; // the language list's item text ("English US")
        QString depth;    // the depth's name ("Doraz 3")
        bool operator==(const Item &) const = default;
    };

    static constexpr int MaxItems = 500;

    // $XDG_STATE_HOME/verbarium-pro/history (~/.local/state when it is unset or
    // not absolute).
    static QString defaultPath();

    explicit PhraseHistory(QString path = defaultPath());

    // Reads the file. Returns what went wrong, for the user (a file set aside, a
    // file that cannot be read), or nothing; the history is empty then. A file
    // that can neither be read nor set aside is never written over: save() then
    // writes nothing and returns this message again.
    QString load();
    // Puts the item first; an earlier item of the same phrase goes. At most
    // MaxItems are kept. The file is written by save().
    void add(const Item &item);
    // Writes the file whole. Phrases that another window of the program wrote to
    // the file since this one read it are kept, below the ones added here since.
    // Returns why it could not be written, or nothing: the history in memory is
    // kept either way.
    QString save();
    // Empties the history and writes its file; returns why it could not be written.
    QString clear();

    const QList<Item> &items() const { return m_items; }
    const QString &path() const { return m_path; }

private:
    // The items of a history file; why it is not one, or nothing.
    static QString parse(const QByteArray &bytes, QList<Item> &items);
    // Writes m_items as they are.
    QString write();

    QString m_path;
    QList<Item> m_items;
    // Added since the file was last read or written, oldest first.
    QList<Item> m_added;
    // Why the file is left as it is and not written, or nothing.
    QString m_heldBack;
};
