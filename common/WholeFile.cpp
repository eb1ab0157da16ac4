#include "common/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int RandomLetters = 6;
// A temporary file is "<name>.verbarium-XXXXXX". The word marks it as ours: a
// writer's own copies beside the file ("words.txt.backup", "words.txt.german")
// have names of the same shape otherwise, and must never pass for leftovers.
constexpr QLatin1StringView TemporaryMark(".verbarium-");

QString reason(int error)
{
    return qt_error_string(error);
}

// The file that a write of `path` replaces: a link's target, the path itself otherwise.
QString writtenPath(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    if (info.isSymLink()) // a link to a file still to be made
        return info.symLinkTarget();
    return info.absoluteFilePath();
}

bool isTemporaryName(const QString &candidate, const QString &name)
{
    const qsizetype letters = name.size() + TemporaryMark.size();
    if (candidate.size() != letters + RandomLetters || !candidate.startsWith(name)
        || QStringView(candidate).sliced(name.size(), TemporaryMark.size()) != TemporaryMark)
        return false;
    for (qsizetype i = letters; i < candidate.size(); ++i) {
        const QChar c = candidate.at(i);
        if (!(c.isDigit() || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            return false;
    }
    return true;
}

// Closes a descriptor on every path; the temporary file goes too unless kept.
struct Temporary {
    int fd = -1;
    QByteArray path;
    bool keep = false;
    ~Temporary()
    {
        if (fd >= 0)
            ::close(fd);
        if (!keep && !path.isEmpty())
            ::unlink(path.constData());
    }
};

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

} // namespace

namespace WholeFile {

int removeLeftovers(const QString &path)
{
    const QFileInfo target(writtenPath(path));
    const QString name = target.fileName();
    const QDir folder = target.absoluteDir();
    int removed = 0;
    const QStringList candidates = folder.entryList({name + TemporaryMark + u'*'},
                                                    QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &candidate : candidates) {
        if (!isTemporaryName(candidate, name))
            continue;
        const QByteArray candidatePath = QFile::encodeName(folder.filePath(candidate));
        const int fd = ::open(candidatePath.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        // A write still running holds its file locked: only abandoned ones go.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(candidatePath.constData()) == 0)
            ++removed;
        ::close(fd);
    }
    return removed;
}

QString write(const QString &path, const QByteArray &bytes)
{
    const QString target = writtenPath(path);
    const QByteArray targetPath = QFile::encodeName(target);
    struct stat existing {
    };
    const bool exists = ::stat(targetPath.constData(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode))
            return reason(EISDIR);
        // A device or a pipe would be replaced by a plain file, not written to.
        if (!S_ISREG(existing.st_mode))
            return QStringLiteral("Not a regular file");
        // Renaming over a file needs only the folder's permission; the file's own says no.
        if (::access(targetPath.constData(), W_OK) != 0)
            return reason(errno);
    }
    removeLeftovers(target);

    Temporary temporary;
    for (int attempt = 0; attempt < 100 && temporary.fd < 0; ++attempt) {
        QByteArray candidate = targetPath + TemporaryMark.latin1();
        static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        for (int i = 0; i < RandomLetters; ++i)
            candidate += Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))];
        // 0666 less the user's umask, as any new file of the user's.
        const int fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            temporary.fd = fd;
            temporary.path = candidate;
        } else if (errno != EEXIST) {
            return reason(errno);
        }
    }
    if (temporary.fd < 0)
        return reason(EEXIST);
    // Tells removeLeftovers() of another write that this file is still in use.
    ::flock(temporary.fd, LOCK_EX | LOCK_NB);
    if (exists)
        ::fchmod(temporary.fd, existing.st_mode & 07777);

    if (!writeAll(temporary.fd, bytes) || ::fsync(temporary.fd) != 0)
        return reason(errno);
    const int fd = temporary.fd;
    temporary.fd = -1;
    if (::close(fd) != 0)
        return reason(errno);
    if (::rename(temporary.path.constData(), targetPath.constData()) != 0)
        return reason(errno);
    temporary.keep = true;

    // The rename itself reaches the disk with the folder.
    const int folder = ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

} // namespace WholeFile
