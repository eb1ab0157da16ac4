#pragma once

#include "thesaurus/Commonness.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <memory>

class QThread;

// How common each language's words are, for "Most common first": SCOWL's levels
// for English, the entry counts of the language's thesaurus (cached on disk) for
// the others. Each is loaded off the window's thread at its first use, so that no
// Generate waits for it, and kept.
class CommonnessSource : public QObject
{
    Q_OBJECT

public:
    explicit CommonnessSource(QObject *parent = nullptr);
    // Waits for the loads in progress.
    ~CommonnessSource() override;

    // The ranks for a thesaurus data file's words when they are loaded; nullptr
    // while they load (loaded() follows) and when there are none (note() says why).
    const Commonness *find(const QString &datPath, bool english);
    // Why the words of that file keep the data's order; empty when they need not.
    QString note(const QString &datPath, bool english) const;
    // Whether a load is under way.
    bool isLoading() const;

    // Where the entry counts are cached; the default cache folder unless set.
    void setCacheFolder(const QString &folder) { m_cacheFolder = folder; }
    // Where SCOWL's lists are looked for; the default search path unless set.
    void setScowlSearchPath(const QStringList &path) { m_scowlPath = path; }

Q_SIGNALS:
    // The ranks of a file (or of English) are ready, or failed: find() answers now.
    void loaded();

private:
    struct Slot {
        std::shared_ptr<Commonness> ranks;
        bool loading = false;
        QString failure;
    };
    static QString keyOf(const QString &datPath, bool english);

    QHash<QString, Slot> m_slots;
    QList<QThread *> m_threads;
    QString m_cacheFolder = EntryCounts::defaultCacheFolder();
    QStringList m_scowlPath = ScowlLevels::defaultSearchPath();
};
