#include "settings/PhraseHistory.h"

#include "common/RegularFile.h"
#include "common/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace {

constexpr int Format = 1;

// Where a damaged history is set aside: "<path>.damaged", or "<path>.damaged-2"
// and on while those are taken, so that a copy set aside earlier is never
// written over. Empty when every name is taken.
QString asideName(const QString &path)
{
    for (int n = 1; n <= 1000; ++n) {
        const QString name = path + QStringLiteral(".damaged") + (n > 1 ? QStringLiteral("-%1").arg(n) : QString());
        const QFileInfo info(name);
        if (!info.exists() && !info.isSymLink())
            return name;
    }
    return {};
}

} // namespace

QString PhraseHistory::defaultPath()
{
    // XDG's folders are absolute: a relative one would follow the folder the
    // program was started from, and is taken as unset.
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    return (QDir::isAbsolutePath(state) ? state : QDir::homePath() + QStringLiteral("/.local/state"))
           + QStringLiteral("/verbarium-pro/history");
}

PhraseHistory::PhraseHistory(QString path) : m_path(std::move(path)) {}

QString PhraseHistory::parse(const QByteArray &bytes, QList<Item> &items)
{
    items.clear();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject root = document.object();
    if (error.error != QJsonParseError::NoError)
        return error.errorString();
    if (!document.isObject() || root.value(QStringLiteral("format")).toInt() != Format
        || !root.value(QStringLiteral("phrases")).isArray())
        return QStringLiteral("it is not a phrase history");
    for (const QJsonValue &value : root.value(QStringLiteral("phrases")).toArray()) {
        const QJsonObject object = value.toObject();
        const Item item{object.value(QStringLiteral("phrase")).toString(),
                        object.value(QStringLiteral("language")).toString(),
                        object.value(QStringLiteral("depth")).toString()};
        if (item.phrase.isEmpty()) {
            items.clear();
            return QStringLiteral("an entry holds no phrase");
        }
        if (items.size() < MaxItems)
            items.append(item);
    }
    return {};
}

QString PhraseHistory::load()
{
    m_items.clear();
    m_added.clear();
    m_heldBack.clear();
    QFile file(m_path);
    if (!file.exists())
        return {};
    QString reason;
    if (!RegularFile::openForReading(file, reason)) {
        // Whatever is there stays as it is: no history of this run is written over it.
        m_heldBack = QStringLiteral("Cannot read the phrase history \"%1\": %2. It is left as it is and no history is "
                                    "kept this time.")
                         .arg(QDir::toNativeSeparators(m_path), reason);
        return m_heldBack;
    }
    const QByteArray bytes = file.readAll();
    file.close();

    const QString problem = parse(bytes, m_items);
    if (problem.isEmpty())
        return {};

    // Set aside, not overwritten: whatever the file holds stays for the user.
    m_items.clear();
    const QString aside = asideName(m_path);
    const bool moved = !aside.isEmpty() && QFile::rename(m_path, aside);
    const QString message =
        moved ? QStringLiteral("The phrase history \"%1\" could not be read (%2). It was set aside as \"%3\"; a new "
                               "history begins.")
                    .arg(QDir::toNativeSeparators(m_path), problem, QDir::toNativeSeparators(aside))
              : QStringLiteral("The phrase history \"%1\" could not be read (%2) nor set aside; it is left as it "
                               "is and no history is kept this time.")
                    .arg(QDir::toNativeSeparators(m_path), problem);
    if (!moved)
        m_heldBack = message;
    return message;
}

namespace {

void putFirst(QList<PhraseHistory::Item> &items, const PhraseHistory::Item &item)
{
    items.removeIf([&](const PhraseHistory::Item &earlier) { return earlier.phrase == item.phrase; });
    items.prepend(item);
    if (items.size() > PhraseHistory::MaxItems)
        items.resize(PhraseHistory::MaxItems);
}

} // namespace

void PhraseHistory::add(const Item &item)
{
    putFirst(m_items, item);
    m_added.append(item);
    if (m_added.size() > MaxItems)
        m_added.removeFirst();
}

QString PhraseHistory::clear()
{
    m_items.clear();
    m_added.clear();
    return write();
}

QString PhraseHistory::save()
{
    if (!m_heldBack.isEmpty())
        return m_heldBack;
    // Another window of the program may have written the file since it was read:
    // its phrases are kept, and this window's own go on top in the order made.
    QFile file(m_path);
    QString reason;
    QList<Item> current;
    if (file.exists() && RegularFile::openForReading(file, reason) && parse(file.readAll(), current).isEmpty()
        && file.error() == QFileDevice::NoError) {
        for (const Item &item : std::as_const(m_added))
            putFirst(current, item);
        m_items = current;
    }
    file.close();
    const QString failure = write();
    if (failure.isEmpty())
        m_added.clear();
    return failure;
}

QString PhraseHistory::write()
{
    if (!m_heldBack.isEmpty())
        return m_heldBack;
    QJsonArray phrases;
    for (const Item &item : std::as_const(m_items))
        phrases.append(QJsonObject{{QStringLiteral("phrase"), item.phrase},
                                   {QStringLiteral("language"), item.language},
                                   {QStringLiteral("depth"), item.depth}});
    const QJsonObject root{{QStringLiteral("format"), Format}, {QStringLiteral("phrases"), phrases}};
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return QStringLiteral("Cannot create the folder of the phrase history \"%1\".").arg(QDir::toNativeSeparators(m_path));
    const QString failure = WholeFile::write(m_path, QJsonDocument(root).toJson(QJsonDocument::Indented));
    if (failure.isEmpty())
        return {};
    return QStringLiteral("Cannot write the phrase history \"%1\": %2").arg(QDir::toNativeSeparators(m_path), failure);
}
