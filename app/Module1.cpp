#include "app/Module1.h"

#include "data/DbError.h"
#include "data/TextFold.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString gDbPath;
QString gRecordSource;

namespace {

QString s_programDirOverride;

// The path of the running program's file as the system holds it. Qt's own answer is already decoded, and a name
// that is no text comes out of it with its bytes replaced, naming another folder or none.
QByteArray programFileBytes()
{
#ifdef Q_OS_LINUX
    QByteArray buffer(4096, Qt::Uninitialized);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), std::size_t(buffer.size()));
        if (length < 0)
            return QByteArray();
        if (length < buffer.size()) {
            buffer.truncate(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2); // cut short: the path is longer than the buffer
    }
#else
    return QFile::encodeName(QCoreApplication::applicationFilePath());
#endif
}

// The bytes as text where they are text, each byte that is not as \xNN.
QString shown(const QByteArray& bytes)
{
    const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    QString result;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t c = TextFold::decode(text, pos);
        if (c >= 0xDC80 && c <= 0xDCFF) // a byte of 0x80 or more that starts no character
            result += QStringLiteral("\\x") + QString::number(uint(c - 0xDC00), 16).toUpper();
        else
            result += QString::fromUcs4(&c, 1);
    }
    return result;
}

} // namespace

Module1::ProgramFolder Module1::programFolderOf(const QByteArray& programFile)
{
    const qsizetype slash = programFile.lastIndexOf('/');
    if (slash < 0) {
        return {QString(), QCoreApplication::translate(
                               "Module1", "The program cannot tell which folder it was started from, so it cannot "
                                          "find the database file beside it.")};
    }
    const QByteArray folder = slash == 0 ? QByteArray("/") : programFile.left(slash);
    const QString path = QFile::decodeName(folder);
    // A decoding that loses bytes gives a name that, encoded again, is another folder's.
    if (QFile::encodeName(path) != folder) {
        return {QString(),
                QCoreApplication::translate(
                    "Module1", "The name of the program's folder, \"%1\", holds bytes that are no text in this "
                               "system's encoding of file names (shown as \\x and two hex digits), so the database "
                               "file beside the program cannot be named. Move the program to a folder whose name has "
                               "only valid characters.")
                    .arg(shown(folder))};
    }
    return {path, QString()};
}

QString Module1::programDir()
{
    if (!s_programDirOverride.isEmpty())
        return s_programDirOverride;
    static const ProgramFolder folder = programFolderOf(programFileBytes());
    if (folder.path.isEmpty())
        throw DbError(DbError::CannotOpen, folder.problem);
    return folder.path;
}

void Module1::setProgramDirForTesting(const QString& dir)
{
    s_programDirOverride = dir;
}

namespace {

const QString kDatabaseName = QStringLiteral("Dalvek.mdb");

// `message` names the path as %1 and the reason as %2.
[[noreturn]] void cannotCopy(const char* message, const QString& path, int error)
{
    throw DbError(DbError::CannotOpen,
                  QCoreApplication::translate("Module1", message)
                      .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(error))));
}

// Writes the template under a temporary name and links it to the final one: another copy of the program starting
// at the same moment finds either no file or a whole one, and link() never replaces a file that is there.
void copyTemplate(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        throw DbError(DbError::CannotOpen, QCoreApplication::translate("Module1", "Cannot read \"%1\": %2.")
                                               .arg(QDir::toNativeSeparators(from), source.errorString()));
    const QByteArray bytes = source.readAll();
    QByteArray temporary = QFile::encodeName(to) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data()); // mode 0600
    if (fd < 0)
        cannotCopy(QT_TRANSLATE_NOOP("Module1", "Cannot create \"%1\": %2."), to, errno);
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, std::size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            ::close(fd);
            ::unlink(temporary.constData());
            cannotCopy(QT_TRANSLATE_NOOP("Module1", "Cannot write \"%1\": %2."), to, error);
        }
        written += n;
    }
    const bool synced = ::fsync(fd) == 0;
    const int syncError = errno;
    ::close(fd);
    if (!synced) {
        ::unlink(temporary.constData());
        cannotCopy(QT_TRANSLATE_NOOP("Module1", "Cannot write \"%1\": %2."), to, syncError);
    }
    const bool linked = ::link(temporary.constData(), QFile::encodeName(to).constData()) == 0;
    const int linkError = errno;
    ::unlink(temporary.constData());
    if (!linked && linkError != EEXIST)
        cannotCopy(QT_TRANSLATE_NOOP("Module1", "Cannot create \"%1\": %2."), to, linkError);
}

// The user's data folder must be the user's alone: a link could lead the file into a folder someone else chose,
// and in a folder another user owns or may write to, the file could be swapped or read.
void checkOwnFolder(const QString& folder)
{
    struct stat st;
    if (::lstat(QFile::encodeName(folder).constData(), &st) != 0)
        cannotCopy(QT_TRANSLATE_NOOP("Module1", "Cannot use the folder \"%1\": %2."), folder, errno);
    QString problem;
    if (S_ISLNK(st.st_mode))
        problem = QStringLiteral("it is a symbolic link");
    else if (!S_ISDIR(st.st_mode))
        problem = QStringLiteral("it is not a folder");
    else if (st.st_uid != ::geteuid())
        problem = QStringLiteral("it belongs to another user");
    else if ((st.st_mode & S_IWOTH) || ((st.st_mode & S_IWGRP) && st.st_gid != ::getegid()))
        problem = QStringLiteral("other users may write to it"); // the user's own group (a private one) aside
    if (problem.isEmpty())
        return;
    throw DbError(DbError::CannotOpen,
                  QCoreApplication::translate(
                      "Module1", "The folder for your directory file, \"%1\", is not safe to use: %2. Make it a folder "
                                 "of your own that only you can write to (for example: remove it, and Tovrin makes a "
                                 "new one).")
                      .arg(QDir::toNativeSeparators(folder), problem));
}

} // namespace

Module1::Layout Module1::layoutOf(const QString& programDir)
{
    const QString templateDir = QDir::cleanPath(programDir + QStringLiteral("/../share/tovrin"));
    if (!QFileInfo::exists(programDir + QLatin1Char('/') + kDatabaseName) &&
        QFileInfo(templateDir + QLatin1Char('/') + kDatabaseName).isFile())
        return {true, templateDir, templateDir};
    return {false, programDir, QString()};
}

QString Module1::userDataDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString Module1::databaseLocation()
{
    const Layout layout = layoutOf(programDir());
    const QString folder = layout.installed ? userDataDir() : layout.filesDir;
    return QDir::toNativeSeparators(folder + QLatin1Char('/') + kDatabaseName);
}

QString Module1::databasePath()
{
    const Layout layout = layoutOf(programDir());
    if (!layout.installed)
        return QDir::toNativeSeparators(layout.filesDir + QLatin1Char('/') + kDatabaseName);
    const QString folder = userDataDir();
    const QString path = folder + QLatin1Char('/') + kDatabaseName;
    const QString parent = QFileInfo(folder).absolutePath();
    if (!QDir().mkpath(parent))
        cannotCopy(QT_TRANSLATE_NOOP("Module1", "Cannot create the folder \"%1\": %2."), parent, errno);
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
        cannotCopy(QT_TRANSLATE_NOOP("Module1", "Cannot create the folder \"%1\": %2."), folder, errno);
    checkOwnFolder(folder);
    if (QFileInfo::exists(path))
        return QDir::toNativeSeparators(path);
    copyTemplate(layout.templateDir + QLatin1Char('/') + kDatabaseName, path);
    return QDir::toNativeSeparators(path);
}

QString Module1::besideProgram(const QString& fileName)
{
    return QDir::toNativeSeparators(layoutOf(programDir()).filesDir + QLatin1Char('/') + fileName);
}
