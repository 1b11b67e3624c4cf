#include "app/AccessConversion.h"

#include "app/MessageBox.h"
#include "app/Module1.h"
#include "data/DbError.h"
#include "data/StoredRows.h"
#include "exchange/AccessFile.h"
#include "exchange/AccessImport.h"
#include "exchange/Encodings.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The largest file taken for a directory file.
constexpr qint64 kLargestFile = qint64(256) << 20;

// Tests answer the choice of encoding as they answer a question: the encoding, or empty for Cancel.
QString s_nextEncoding;

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void refuse(const QString& path, const QString& why)
{
    throw DbError(DbError::CannotOpen,
                  QStringLiteral("\"%1\" cannot be converted: %2. Nothing was changed.").arg(shownPath(path), why));
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Tests stop the conversion dead at a step, as a crash or a power cut would.
void stopPoint(int step)
{
    static const int stopAt = qEnvironmentVariableIntValue("TOVRIN_CONVERSION_STOP");
    if (stopAt == step)
        ::raise(SIGKILL);
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QString sibling(const QString& path, const QString& name)
{
    return QFileInfo(path).absolutePath() + QLatin1Char('/') + name;
}

QString converting(const QString& path)
{
    return path + QStringLiteral(".converting");
}

QString converted(const QString& path)
{
    return path + QStringLiteral(".converted");
}

// "Dalvek (Access).mdb", or with a number when an older copy holds that name.
QString backupName(const QString& path, int n)
{
    const QFileInfo info(path);
    const QString number = n > 1 ? QStringLiteral(" %1").arg(n) : QString();
    return sibling(path, QStringLiteral("%1 (Access%2).%3").arg(info.completeBaseName(), number, info.suffix()));
}

// The file's bytes, when it is a plain file of at most kLargestFile; it is opened without following a link, and
// it is the opened file that is checked.
QByteArray plainFileBytes(const QString& path, struct stat* status)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        refuse(path, errno == ELOOP ? QStringLiteral("it is a link, not a plain file") : systemError(errno));
    if (::fstat(fd, status) != 0 || !S_ISREG(status->st_mode)) {
        ::close(fd);
        refuse(path, QStringLiteral("it is not a plain file"));
    }
    if (status->st_size > kLargestFile) {
        ::close(fd);
        refuse(path, QStringLiteral("it is larger than 256 MB"));
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        refuse(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (bytes.size() != status->st_size)
        refuse(path, QStringLiteral("it changed while it was read"));
    return bytes;
}

QString digestOf(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

bool sameFile(const QString& a, const struct stat& b)
{
    struct stat status;
    return ::lstat(QFile::encodeName(a).constData(), &status) == 0 && status.st_dev == b.st_dev &&
           status.st_ino == b.st_ino;
}

// Steps 3 and 4: the old file's second name, then the new file over the first. Returns the second name.
QString switchFiles(const QString& path, const struct stat& old)
{
    const QString folder = QFileInfo(path).absolutePath();
    QString backup;
    for (int n = 1; n < 100 && backup.isEmpty(); ++n) {
        const QString candidate = backupName(path, n);
        if (old.st_nlink > 1 && sameFile(candidate, old)) {
            backup = candidate; // linked before a stop
        } else if (::link(QFile::encodeName(path).constData(), QFile::encodeName(candidate).constData()) == 0) {
            backup = candidate;
        } else if (errno != EEXIST) {
            refuse(path, QStringLiteral("\"%1\" cannot be made: %2").arg(shownPath(candidate), systemError(errno)));
        }
    }
    if (backup.isEmpty())
        refuse(path, QStringLiteral("every name for keeping the old file beside it is taken"));
    syncFolder(folder);
    stopPoint(3);
    if (::rename(QFile::encodeName(converted(path)).constData(), QFile::encodeName(path).constData()) != 0) {
        const int error = errno;
        ::unlink(QFile::encodeName(backup).constData());
        refuse(path, QStringLiteral("the new file cannot take its name: %1").arg(systemError(error)));
    }
    syncFolder(folder);
    stopPoint(4);
    return backup;
}

bool sameRows(const QList<StoredRows::Row>& a, const QList<StoredRows::Row>& b)
{
    return a == b;
}

QString listed(const QList<ExchangeProblem>& problems)
{
    QStringList lines;
    for (const ExchangeProblem& p : problems.mid(0, 10))
        lines << QStringLiteral("row %1 of %2 \"%3\": %4")
                     .arg(p.record)
                     .arg(p.field.contains(QLatin1Char('.')) ? p.field : QStringLiteral("tblTel.") + p.field,
                          p.value.left(60), p.action);
    if (problems.size() > 10)
        lines << QStringLiteral("and %1 more").arg(problems.size() - 10);
    return lines.join(QStringLiteral("; "));
}

} // namespace

AccessConversion::Result AccessConversion::convert(const QString& path, const QString& encoding)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        refuse(path,
               QStringLiteral("its folder \"%1\" cannot be written (%2)").arg(shownPath(folder), systemError(errno)));
    struct stat old;
    const QByteArray bytes = plainFileBytes(path, &old);
    const AccessFile::Result read = AccessFile::read(bytes, encoding);
    if (!read.file)
        refuse(path, read.problem);
    if (!read.file->cleanText)
        refuse(path, QStringLiteral("some of its texts have bytes that are no character in %1, the encoding of its "
                                    "code page; import it into a new directory instead, choosing the encoding")
                         .arg(read.file->encoding));
    const AccessImport::Copy copy = AccessImport::copy(*read.file);
    if (!copy.problem.isEmpty())
        refuse(path, copy.problem);
    // A date that held a time of day, or a time that held a date, keeps what the log shows and is named in the
    // report (the old file keeps the rest). A text wider than its column (the file's columns check their widths)
    // or a year before 1000 has no stored form at all.
    QList<ExchangeProblem> changed, unstorable;
    for (const ExchangeProblem& p : copy.problems)
        (AccessImport::keepsPart(p) ? changed : unstorable) << p;
    if (!unstorable.isEmpty())
        refuse(path, QStringLiteral("some values cannot be kept (%1)").arg(listed(unstorable)));

    // Step 1: the new file, written whole and read back.
    const QString digest = digestOf(bytes);
    for (const QString& leftover : {converting(path), converting(path) + QStringLiteral("-journal")})
        QFile::remove(leftover);
    try {
        StoredRows::create(converting(path), copy.rows, digest);
    } catch (const DbError& error) {
        refuse(path, QStringLiteral("the new file cannot be written (%1)").arg(error.description()));
    }
    stopPoint(1);
    QString source;
    const StoredRows::Tables back = StoredRows::read(converting(path), &source);
    if (source != digest || !sameRows(back.tel, copy.rows.tel) || !sameRows(back.mes, copy.rows.mes)) {
        QFile::remove(converting(path));
        refuse(path, QStringLiteral("the new file did not read back as written"));
    }
    ::chmod(QFile::encodeName(converting(path)).constData(), old.st_mode & 07777);

    // Step 2: ready, and recognisable as made from this very file.
    if (::rename(QFile::encodeName(converting(path)).constData(), QFile::encodeName(converted(path)).constData()) !=
        0) {
        const int error = errno;
        QFile::remove(converting(path));
        refuse(path, systemError(error));
    }
    syncFolder(folder);
    stopPoint(2);

    Result result;
    result.backup = switchFiles(path, old);
    result.entries = int(copy.rows.tel.size());
    result.messages = int(copy.rows.mes.size());
    result.notCarried = copy.notCarried;
    if (!changed.isEmpty())
        result.notCarried << QStringLiteral("in part: ") + listed(changed);
    return result;
}

QString AccessConversion::finishInterrupted(const QString& path)
{
    for (const QString& leftover : {converting(path), converting(path) + QStringLiteral("-journal")})
        QFile::remove(leftover);
    if (!QFileInfo::exists(converted(path)))
        return QString();
    struct stat old;
    if (::lstat(QFile::encodeName(path).constData(), &old) != 0 || !S_ISREG(old.st_mode) ||
        !AccessFile::hasSignature(path)) {
        QFile::remove(converted(path)); // the old file is gone or no longer an Access file: nothing to finish
        return QString();
    }
    QString source;
    try {
        StoredRows::read(converted(path), &source);
    } catch (const DbError&) {
        source.clear();
    }
    if (source.isEmpty() || source != digestOf(plainFileBytes(path, &old))) {
        QFile::remove(converted(path)); // made from another file than the one now in place
        return QString();
    }
    return switchFiles(path, old);
}

QString AccessConversion::textSample(const AccessFile& file, int count)
{
    QStringList lines;
    for (const AccessFile::Table& table : file.tables) {
        for (const auto& row : table.rows) {
            for (int c = 0; c < row.size() && c < table.columns.size(); ++c) {
                const QString& text = row.at(c).text;
                const bool plain = std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() < 0x80; });
                const QString line = table.columns.at(c) + QStringLiteral(": ") + text;
                if (!plain && !lines.contains(line))
                    lines << line;
                if (lines.size() >= count)
                    return lines.join(QLatin1Char('\n'));
            }
        }
    }
    return lines.join(QLatin1Char('\n'));
}

void AccessConversion::setNextEncodingForTesting(const QString& encoding)
{
    s_nextEncoding = encoding;
}

namespace {

// A Jet 3 file keeps its texts in a code page, which it may name wrongly or not at all: the user sees its texts in
// the encoding chosen and picks the one that reads right. Nothing when the user cancels.
std::optional<QString> chooseEncoding(QWidget* parent, const QString& path, const QByteArray& bytes,
                                      const AccessFile& file)
{
    if (MessageBox::testMode())
        return s_nextEncoding.isEmpty() ? std::nullopt : std::optional<QString>(std::exchange(s_nextEncoding, {}));
    QDialog dialog(parent);
    dialog.setWindowTitle(
        QCoreApplication::translate("AccessConversion", "Convert \"%1\"").arg(QFileInfo(path).fileName()));
    auto* layout = new QVBoxLayout(&dialog);
    auto* prompt =
        new QLabel(QCoreApplication::translate(
                       "AccessConversion", "The texts of this old data file are in a code page of their own. Choose "
                                           "the encoding in which the names below read right; they are converted "
                                           "in it."),
                   &dialog);
    prompt->setWordWrap(true);
    layout->addWidget(prompt);
    auto* encoding = new QComboBox(&dialog);
    encoding->setObjectName(QStringLiteral("cmbEncoding"));
    encoding->addItems(Encodings::offered().mid(1)); // Jet 3 texts are never UTF-8
    if (encoding->findText(file.encoding) < 0)
        encoding->addItem(file.encoding);
    encoding->setCurrentText(file.encoding);
    prompt->setBuddy(encoding);
    layout->addWidget(encoding);
    auto* sample = new QPlainTextEdit(AccessConversion::textSample(file), &dialog);
    sample->setReadOnly(true);
    sample->setAccessibleName(QCoreApplication::translate("AccessConversion", "Texts of the file"));
    layout->addWidget(sample);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(encoding, &QComboBox::currentTextChanged, &dialog, [&](const QString& chosen) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const AccessFile::Result read = AccessFile::read(bytes, chosen);
        QApplication::restoreOverrideCursor();
        sample->setPlainText(read.file ? AccessConversion::textSample(*read.file) : read.problem);
    });
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return encoding->currentText();
}

} // namespace

AccessConversion::Start AccessConversion::offerAtStart(QWidget* parent)
{
    QString path;
    try {
        path = Module1::databasePath();
    } catch (const DbError&) {
        return Start::Go; // the directory window reports it
    }
    try {
        const QString finished = finishInterrupted(path);
        if (!finished.isEmpty()) {
            MessageBox::information(parent,
                                    QCoreApplication::translate("AccessConversion",
                                                                "The conversion of \"%1\" that was cut short has been "
                                                                "finished. The old file is kept unchanged as \"%2\".")
                                        .arg(shownPath(path), shownPath(finished)));
            return Start::Go;
        }
    } catch (const DbError& error) {
        MessageBox::critical(parent, error.description());
        return Start::Failed;
    }
    if (!AccessFile::hasSignature(path))
        return Start::Go;
    const QString question =
        QStringLiteral("\"%1\" is a data file of the old program (an Access database). Tovrin keeps its data in a "
                       "file of its own kind.\n\nConvert it now? Every entry and message is carried over, and the old "
                       "file is kept unchanged beside it as \"%2\". If you do not convert it, Tovrin ends and changes "
                       "nothing.")
            .arg(shownPath(path), QFileInfo(backupName(path, 1)).fileName());
    if (!MessageBox::question(parent, question, true))
        return Start::Declined;
    try {
        QString encoding;
        {
            struct stat old;
            const QByteArray bytes = plainFileBytes(path, &old);
            QApplication::setOverrideCursor(Qt::WaitCursor);
            const AccessFile::Result read = AccessFile::read(bytes);
            QApplication::restoreOverrideCursor();
            if (read.file && read.file->format == AccessFile::Format::Jet3 && read.file->encodingUsed) {
                const std::optional<QString> chosen = chooseEncoding(parent, path, bytes, *read.file);
                if (!chosen)
                    return Start::Declined;
                encoding = *chosen;
            }
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const Result result = convert(path, encoding);
        QApplication::restoreOverrideCursor();
        QString report = QStringLiteral("\"%1\" was converted: %2 entries and %3 messages. The old file is kept "
                                        "unchanged as \"%4\".")
                             .arg(shownPath(path))
                             .arg(result.entries)
                             .arg(result.messages)
                             .arg(shownPath(result.backup));
        if (!result.notCarried.isEmpty())
            report += QStringLiteral("\n\nNot used by Tovrin, so not carried over (the old file keeps them):\n") +
                      result.notCarried.join(QLatin1Char('\n'));
        MessageBox::information(parent, report);
        return Start::Go;
    } catch (const DbError& error) {
        QApplication::restoreOverrideCursor();
        MessageBox::critical(parent, error.description());
        return Start::Failed;
    }
}
