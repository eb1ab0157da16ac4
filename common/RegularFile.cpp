#include "common/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool RegularFile::openForReading(QFile &file, QString &error)
{
    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; a regular
    // file ignores it.
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = reasonFor(file.fileName(), errno);
        return false;
    }
    struct stat info {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? QStringLiteral("it is a folder, not a file")
                                      : QStringLiteral("it is not a regular file");
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        error = file.errorString();
        ::close(fd);
        return false;
    }
    return true;
}

QString RegularFile::reasonFor(const QString &path, int errorNumber)
{
    if (errorNumber == ELOOP)
        return QStringLiteral("its symbolic links go round in a loop");
    if (errorNumber == ENOENT) {
        const QString target = QFile::symLinkTarget(path);
        if (!target.isEmpty())
            return QStringLiteral("it is a link to \"%1\", which does not exist").arg(target);
    }
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}
