#include "swatches/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace swatches {

namespace {

QString Reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

FileRead Failed(const QString& reason, const QString& target = QString())
{
    FileRead r;
    r.result = FileRead::Result::Failed;
    r.reason = reason;
    r.target = target;
    return r;
}

} // namespace

FileRead ReadUserFile(const QString& path, qsizetype limit)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat link {};
    if (::lstat(name.constData(), &link) != 0) {
        if (errno == ENOENT)
            return FileRead{};
        return Failed(QStringLiteral("it cannot be read (%1)").arg(Reason(errno)));
    }
    QString target = path;
    if (S_ISLNK(link.st_mode)) {
        if (link.st_uid != ::geteuid())
            return Failed(QStringLiteral("it is a symbolic link that belongs to another user"));
        struct stat to {};
        if (::stat(name.constData(), &to) != 0)
            return Failed(QStringLiteral("it is a symbolic link to nothing that can be read (%1)").arg(Reason(errno)));
        if (to.st_uid != ::geteuid())
            return Failed(QStringLiteral("it is a symbolic link to a file of another user"));
        target = QFileInfo(path).canonicalFilePath();
        if (target.isEmpty())
            return Failed(QStringLiteral("it is a symbolic link that cannot be followed"));
    }
    FileRead r = ReadRegularFile(path, limit);
    if (r.result != FileRead::Result::Missing)
        r.target = target;
    return r;
}

FileRead ReadRegularFile(const QString& path, qsizetype limit)
{
    const QByteArray name = QFile::encodeName(path);
    const QString target = path;
    struct stat seen {};
    if (::stat(name.constData(), &seen) != 0) {
        if (errno == ENOENT)
            return FileRead{};
        return Failed(QStringLiteral("it cannot be read (%1)").arg(Reason(errno)));
    }
    if (!S_ISREG(seen.st_mode))
        return Failed(QStringLiteral("it is not a regular file"), target);

    // Not blocking, in case something else has taken the name since.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Failed(QStringLiteral("it cannot be read (%1)").arg(Reason(errno)), target);
    FileRead r;
    r.target = target;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_ino != seen.st_ino ||
        opened.st_dev != seen.st_dev) {
        ::close(fd);
        return Failed(QStringLiteral("it changed while it was opened"), target);
    }
    r.result = FileRead::Result::Read;
    char buffer[16384];
    while (r.bytes.size() < limit) {
        const ssize_t n = ::read(fd, buffer, size_t(std::min<qsizetype>(qsizetype(sizeof buffer), limit - r.bytes.size())));
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            r.result = FileRead::Result::Failed;
            r.reason = QStringLiteral("it cannot be read (%1)").arg(Reason(errno));
            break;
        }
        r.bytes.append(buffer, qsizetype(n));
    }
    ::close(fd);
    return r;
}

QString WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // Written and synced here, past the device's buffer: a full disk shows
    // only when a buffer goes out, and commit() does not report that. Here
    // a failure still keeps the old file, and its reason is the system's.
    const int fd = file.handle();
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    int error = 0;
    while (left > 0 && error == 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n > 0) {
            p += n;
            left -= n;
        } else if (n == 0 || errno != EINTR) {
            error = n == 0 ? EIO : errno;
        }
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (error != 0) {
        file.cancelWriting();
        return Reason(error);
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

void RemoveLeftoverSaves(const QString& path)
{
    const QFileInfo info(path);
    const QRegularExpression leftover(QStringLiteral("^") + QRegularExpression::escape(info.fileName()) +
                                      QStringLiteral("\\.[A-Za-z0-9]{6}$"));
    const QDir folder = info.dir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!leftover.match(name).hasMatch())
            continue;
        const QByteArray full = QFile::encodeName(folder.filePath(name));
        struct stat st {};
        if (::lstat(full.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlink(full.constData());
    }
}

} // namespace swatches
