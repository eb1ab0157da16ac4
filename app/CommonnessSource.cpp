#include "app/CommonnessSource.h"

#include "common/AppError.h"

#include <QDir>
#include <QThread>

#include <algorithm>

namespace {

const QString Scowl = QStringLiteral("scowl:");

} // namespace

CommonnessSource::CommonnessSource(QObject *parent) : QObject(parent) {}

CommonnessSource::~CommonnessSource()
{
    for (QThread *thread : std::as_const(m_threads)) {
        thread->wait();
        delete thread;
    }
}

QString CommonnessSource::keyOf(const QString &datPath, bool english)
{
    return english ? Scowl : datPath;
}

bool CommonnessSource::isLoading() const
{
    return std::any_of(m_slots.cbegin(), m_slots.cend(), [](const Slot &slot) { return slot.loading; });
}

const Commonness *CommonnessSource::find(const QString &datPath, bool english)
{
    if (!english && datPath.isEmpty())
        return nullptr;
    const QString key = keyOf(datPath, english);
    Slot &slot = m_slots[key];
    if (slot.ranks || slot.loading || !slot.failure.isEmpty())
        return slot.ranks.get();
    slot.loading = true;

    // The thread fills a result of its own; the window's thread takes it over
    // when the thread has finished.
    struct Result {
        std::shared_ptr<Commonness> ranks;
        QString failure;
    };
    auto result = std::make_shared<Result>();
    const QStringList scowlPath = m_scowlPath;
    const QString cacheFolder = m_cacheFolder;
    QThread *thread = QThread::create([result, english, datPath, scowlPath, cacheFolder] {
        try {
            if (english) {
                result->ranks = ScowlLevels::load(scowlPath);
                if (!result->ranks)
                    result->failure = tr("SCOWL's word lists are not installed (Debian package \"scowl\"): English "
                                         "words keep the data's order.");
            } else {
                result->ranks = EntryCounts::cached(datPath, cacheFolder);
            }
        } catch (const AppError &error) {
            result->failure = error.message();
        }
    });
    m_threads.append(thread);
    connect(thread, &QThread::finished, this, [this, thread, key, result] {
        Slot &done = m_slots[key];
        done.loading = false;
        done.ranks = result->ranks;
        done.failure = result->failure;
        m_threads.removeOne(thread);
        thread->deleteLater();
        Q_EMIT loaded();
    });
    thread->start(QThread::LowPriority);
    return nullptr;
}

QString CommonnessSource::note(const QString &datPath, bool english) const
{
    if (!english && datPath.isEmpty())
        return tr("This language has no thesaurus data: its words keep the data's order.");
    return m_slots.value(keyOf(datPath, english)).failure;
}
