#include "exchange/TargetFile.h"

#include "data/DbError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>

namespace {

const char* const kDatabaseFiles[] = {"", "-journal", "-wal", "-shm"};

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The directory file or one of the files SQLite keeps beside it, whatever name `st` was reached by.
bool isDatabaseFile(const struct stat& st, const QString& database)
{
    for (const char* suffix : kDatabaseFiles) {
        struct stat file;
        if (::stat(QFile::encodeName(database + QLatin1String(suffix)).constData(), &file) == 0 &&
            file.st_dev == st.st_dev && file.st_ino == st.st_ino)
            return true;
    }
    return false;
}

// The same for a name nothing lies at yet: a journal the directory file does not have at the moment.
bool namesDatabaseFile(const QString& path, const QString& database)
{
    const QFileInfo target(path);
    const QFileInfo file(database);
    if (target.absoluteDir().canonicalPath() != file.absoluteDir().canonicalPath())
        return false;
    for (const char* suffix : kDatabaseFiles) {
        if (target.fileName() == file.fileName() + QLatin1String(suffix))
            return true;
    }
    return false;
}

} // namespace

QString TargetFile::refusal(const QString& path, const QString& database)
{
    if (path.isEmpty())
        return QCoreApplication::translate("TargetFile", "no file name was given");
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            struct stat target;
            if (!database.isEmpty() && ::stat(name.constData(), &target) == 0 && isDatabaseFile(target, database))
                return QCoreApplication::translate("TargetFile", "it is a link to the directory file itself");
            return QCoreApplication::translate("TargetFile",
                                               "it is a symbolic link; name the file it points to instead");
        }
        if (S_ISDIR(st.st_mode))
            return QCoreApplication::translate("TargetFile", "it is a folder");
        if (!S_ISREG(st.st_mode))
            return QCoreApplication::translate("TargetFile",
                                               "it is not a regular file but a device, a pipe or a socket");
        if (!database.isEmpty() && isDatabaseFile(st, database))
            return QCoreApplication::translate("TargetFile", "it is the directory file itself");
        if (st.st_uid != ::geteuid())
            return QCoreApplication::translate("TargetFile", "it belongs to another user");
    } else if (errno != ENOENT) {
        return systemReason(errno);
    }
    if (!database.isEmpty() && namesDatabaseFile(path, database))
        return QCoreApplication::translate("TargetFile", "it is one of the files of the directory itself");
    return QString();
}

TargetFile::TargetFile(const QString& path, const QString& database) : m_path(path), m_database(database)
{
    const QString refused = refusal(path, database);
    if (!refused.isEmpty())
        fail(refused);
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    struct stat existing;
    const bool replacing = ::lstat(QFile::encodeName(path).constData(), &existing) == 0;
    for (int attempt = 0; m_fd < 0; ++attempt) {
        m_temporary = QFile::encodeName(QStringLiteral("%1/.%2.%3.tmp")
                                            .arg(folder, info.fileName())
                                            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        // 0666 less the umask, as any newly written file; never through a link someone left under that name.
        m_fd = ::open(m_temporary.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (m_fd < 0 && (errno != EEXIST || attempt > 20)) {
            const int error = errno;
            m_temporary.clear();
            if (error == ENOENT)
                fail(QStringLiteral("the folder \"%1\" does not exist").arg(QDir::toNativeSeparators(folder)));
            fail(systemReason(error));
        }
    }
    // A file written over keeps the permissions it had.
    if (replacing)
        ::fchmod(m_fd, existing.st_mode & 07777);
}

TargetFile::~TargetFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
}

QString TargetFile::temporaryPath() const
{
    return QFile::decodeName(m_temporary);
}

void TargetFile::write(const QByteArray& bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + written, std::size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(systemReason(n < 0 ? errno : ENOSPC));
        written += n;
    }
}

void TargetFile::commit(const QByteArray& ending)
{
    if (::fsync(m_fd) != 0)
        fail(systemReason(errno));
    if (!ending.isEmpty()) {
        QFile file(temporaryPath());
        QByteArray tail;
        if (file.open(QIODevice::ReadOnly) && file.seek(std::max<qint64>(0, file.size() - 64)))
            tail = file.readAll().trimmed();
        if (!tail.endsWith(ending)) {
            // Writers that write through Qt's buffered files do not say why they stopped; a full disk is the
            // usual reason, and the one worth naming.
            struct statvfs space;
            const bool full = ::fstatvfs(m_fd, &space) == 0 && space.f_bavail == 0;
            fail(QCoreApplication::translate("TargetFile", "the file came out incomplete%1")
                     .arg(full ? QStringLiteral(" (%1)").arg(systemReason(ENOSPC)) : QString()));
        }
    }
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0)
        fail(systemReason(errno));
    // The path may have changed since the check at the start (another program, another user in a shared folder).
    const QString refused = refusal(m_path, m_database);
    if (!refused.isEmpty())
        fail(refused);
    if (::rename(m_temporary.constData(), QFile::encodeName(m_path).constData()) != 0)
        fail(systemReason(errno));
    m_temporary.clear();
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(QFile::encodeName(QFileInfo(m_path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

void TargetFile::save(const QString& path, const QByteArray& bytes, const QString& database)
{
    TargetFile file(path, database);
    file.write(bytes);
    file.commit();
}

void TargetFile::fail(const QString& reason)
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_temporary.isEmpty())
        ::unlink(std::exchange(m_temporary, QByteArray()).constData());
    throw DbError(-1, QCoreApplication::translate("TargetFile", "Cannot write \"%1\": %2.")
                          .arg(QDir::toNativeSeparators(m_path), reason));
}
