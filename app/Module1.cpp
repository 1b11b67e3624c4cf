#include "Module1.h"

#include "DbError.h"
#include "TextFold.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <sqlite3.h>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

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
        return {QString(), QStringLiteral("The program cannot tell which folder it was started from, so it cannot "
                                          "find the database file beside it.")};
    }
    const QByteArray folder = slash == 0 ? QByteArray("/") : programFile.left(slash);
    const QString path = QFile::decodeName(folder);
    // A decoding that loses bytes gives a name that, encoded again, is another folder's.
    if (QFile::encodeName(path) != folder) {
        return {QString(),
                QStringLiteral("The name of the program's folder, \"%1\", holds bytes that are no text in this "
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
        throw DbError(SQLITE_CANTOPEN, folder.problem);
    return folder.path;
}

void Module1::setProgramDirForTesting(const QString& dir)
{
    s_programDirOverride = dir;
}

QString Module1::besideProgram(const QString& fileName)
{
    return QDir::toNativeSeparators(programDir() + QLatin1Char('/') + fileName);
}

QString Module1::databasePath()
{
    return besideProgram(QStringLiteral("Dalvek.mdb"));
}
