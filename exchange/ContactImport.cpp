#include "exchange/ContactImport.h"

#include "data/Book.h"
#include "data/Columns.h"
#include "data/EntryWriter.h"
#include "exchange/AccessImport.h"
#include "exchange/ContactFit.h"
#include "exchange/CsvReader.h"
#include "exchange/Encodings.h"
#include "exchange/VCardReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kPersonal = ::Book::Personal.name();
const QString kBusiness = ::Book::Business.name();

// Same names and numbers make the same entry; letter case and spaces around names do not count.
QString identity(const QString& category, const QString& fname, const QString& lname, const QString& busName,
                 const QStringList& numbers)
{
    QStringList parts{category.toCaseFolded(), fname.trimmed().toCaseFolded(), lname.trimmed().toCaseFolded(),
                      busName.trimmed().toCaseFolded()};
    QStringList sorted = numbers;
    sorted.removeAll(QStringLiteral("___ - _______"));
    sorted.removeAll(QString());
    sorted.sort();
    parts << sorted;
    return parts.join(QChar(0x1f));
}

QString identity(const Contact& c)
{
    return identity(c.category, c.fname, c.lname, c.busName, {c.tel1, c.tel2, c.pel, c.fax});
}

QString nameOf(const Contact& c)
{
    QString name = (c.fname.trimmed() + QLatin1Char(' ') + c.lname.trimmed()).trimmed();
    if (c.category == kBusiness && !c.busName.trimmed().isEmpty())
        name =
            name.isEmpty() ? c.busName.trimmed() : c.busName.trimmed() + QStringLiteral(" (") + name + QLatin1Char(')');
    return name.isEmpty() ? QCoreApplication::translate("ContactImport", "(no name)") : name;
}

// What a path that is no regular file names.
QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QCoreApplication::translate("ContactImport", "a folder");
    if (S_ISFIFO(mode))
        return QCoreApplication::translate("ContactImport", "a named pipe (FIFO)");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QCoreApplication::translate("ContactImport", "a device");
    if (S_ISSOCK(mode))
        return QCoreApplication::translate("ContactImport", "a socket");
    return QCoreApplication::translate("ContactImport", "no regular file");
}

// Megabytes to a tenth, rounded up, so a file just over the limit does not read as the limit itself.
QString megabytes(qint64 bytes)
{
    const qint64 tenths = (bytes * 10 + 1024 * 1024 - 1) / (1024 * 1024);
    return tenths % 10 ? QString::number(double(tenths) / 10, 'f', 1) : QString::number(tenths / 10);
}

// Why a file of this kind and size is not read; empty when it is read.
QString refusal(const QString& path, const struct stat& status, qint64 limit)
{
    if (!S_ISREG(status.st_mode))
        return QCoreApplication::translate(
                   "ContactImport", "\"%1\" cannot be imported: it is %2, not a file. Only regular files are read.")
            .arg(path, kindOf(status.st_mode));
    if (status.st_size > limit)
        return QCoreApplication::translate(
                   "ContactImport", "\"%1\" cannot be imported: it holds %2 MB, more than the %3 MB an import reads.")
            .arg(path, megabytes(status.st_size), megabytes(limit));
    return QString();
}

QString failure(const QString& path, int error)
{
    return QCoreApplication::translate("ContactImport", "\"%1\" cannot be read: %2.")
        .arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

ContactImport::File ContactImport::load(const QString& path, qint64 limit)
{
    File file;
    const QByteArray name = QFile::encodeName(path);
    // The kind is looked at before opening (opening a device can do things of its own), and again on what was
    // opened, without waiting: a pipe opened to read would wait for a writer.
    struct stat status;
    if (::stat(name.constData(), &status) != 0) {
        file.error = failure(path, errno);
        return file;
    }
    file.error = refusal(path, status, limit);
    if (!file.error.isEmpty())
        return file;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        file.error = failure(path, errno);
        return file;
    }
    const auto fail = [&](const QString& error) {
        ::close(fd);
        file.bytes.clear();
        file.error = error;
        return file;
    };
    if (::fstat(fd, &status) != 0)
        return fail(failure(path, errno));
    if (const QString refused = refusal(path, status, limit); !refused.isEmpty())
        return fail(refused);

    // A file that grows while it is read is read on, but never past the limit.
    QByteArray& bytes = file.bytes;
    bytes.resize(qsizetype(status.st_size));
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > limit) {
                status.st_size = got;
                return fail(refusal(path, status, limit));
            }
            bytes.resize(qsizetype(std::min<qint64>(limit + 1, got + std::max<qint64>(got, 65536))));
        }
        const ssize_t n = ::read(fd, bytes.data() + got, std::size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(failure(path, errno));
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    bytes.resize(got);
    return file;
}

ReadResult ContactImport::readFile(const QString& path, const QString& encoding, bool* encodingUsed)
{
    File file = load(path);
    if (!file.error.isEmpty()) {
        ReadResult failed;
        failed.problems.append({0, QString(), QString(), file.error});
        return failed;
    }
    return readBytes(file.bytes, QFileInfo(path).fileName(), encoding, encodingUsed);
}

namespace {

QString fallbackOr(const QString& encoding)
{
    return encoding.isEmpty() ? Encodings::defaultFor(QLocale()) : encoding;
}

// A vCard file starts with its first card, whatever its name; anything else is read as CSV.
bool isVCard(const QByteArray& bytes, const QString& name)
{
    return bytes.left(512).trimmed().toUpper().contains("BEGIN:VCARD") ||
           name.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".vcard"), Qt::CaseInsensitive);
}

} // namespace

ContactImport::CsvSample ContactImport::csvSample(const QByteArray& bytes, const QString& name, const QString& encoding)
{
    if (isVCard(bytes, name) || AccessFile::hasSignature(bytes))
        return {};
    CsvReader::Options options;
    options.fallbackEncoding = fallbackOr(encoding);
    const CsvReader::Table table = CsvReader(bytes).table(options, 1);
    return {table.header, table.records.value(0)};
}

namespace {

// The choices in English, the header names the CSV reader knows; the user picks from them in the user's language.
const char* const kColumnChoices[] = {
    QT_TRANSLATE_NOOP("ContactImport", "(not read)"), QT_TRANSLATE_NOOP("ContactImport", "First Name"),
    QT_TRANSLATE_NOOP("ContactImport", "Last Name"),  QT_TRANSLATE_NOOP("ContactImport", "Company"),
    QT_TRANSLATE_NOOP("ContactImport", "Street"),     QT_TRANSLATE_NOOP("ContactImport", "City"),
    QT_TRANSLATE_NOOP("ContactImport", "State"),      QT_TRANSLATE_NOOP("ContactImport", "Postal Code"),
    QT_TRANSLATE_NOOP("ContactImport", "Telephone"),  QT_TRANSLATE_NOOP("ContactImport", "Mobile Phone"),
    QT_TRANSLATE_NOOP("ContactImport", "Fax")};

} // namespace

QStringList ContactImport::columnChoices()
{
    QStringList choices;
    for (const char* choice : kColumnChoices)
        choices << QCoreApplication::translate("ContactImport", choice);
    return choices;
}

ReadResult ContactImport::readBytes(const QByteArray& bytes, const QString& name, const QString& encoding,
                                    bool* encodingUsed, const QStringList& columnNames)
{
    // An old program's data file, whatever its name; a file named like one is read as one, and refused when it is not.
    if (AccessFile::hasSignature(bytes) || name.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive) ||
        name.endsWith(QLatin1String(".accdb"), Qt::CaseInsensitive))
        return AccessImport::read(bytes, name, encoding, encodingUsed);
    const QString fallback = fallbackOr(encoding);
    ReadResult result;
    // Each contact is fitted as it is read, so only its stored form is kept.
    qsizetype read = 0;
    const auto take = [&](Contact&& raw, int record) {
        ++read;
        ContactFit::Result fitted = ContactFit::fit(raw, record);
        for (const ExchangeProblem& problem : std::as_const(fitted.problems))
            result.problems.append(problem);
        if (!fitted.empty)
            result.contacts.append(fitted.contact, {0, record});
    };
    bool used = false;
    if (isVCard(bytes, name)) {
        used = VCardReader::read(bytes, fallback, take, result.problems);
    } else {
        CsvReader::Options options;
        options.fallbackEncoding = fallback;
        // A header line, told as the preview tells it, is passed over; a choice as shown reads by its English name.
        options.columnNames = columnNames;
        const QStringList shown = columnChoices();
        for (QString& column : options.columnNames) {
            if (const qsizetype i = shown.indexOf(column); i >= 0)
                column = QLatin1String(kColumnChoices[i]);
        }
        used = CsvReader(bytes).read(options, take, result.problems);
    }
    if (encodingUsed)
        *encodingUsed = used;
    if (read == 0 && result.problems.isEmpty())
        result.problems.append({0, QString(), name, QCoreApplication::translate("ContactImport", "holds no contact")});
    return result;
}

void ContactImport::gather(ReadResult& all, ReadResult&& one, const QString& name, bool several)
{
    const int file = all.files++;
    one.contacts.setFile(file);
    all.contacts.append(one.contacts);
    one.contacts.clear();
    all.messages += one.messages;
    all.problems.appendAfter(
        one.problems, several ? QCoreApplication::translate("ContactImport", "in %1").arg(name) : QString(), file);
}

namespace {

// What makes an entry the same, as two independent hashes of its identity: two entries that differ share both
// once in 2^128, and a million entries take a few tens of megabytes, not their texts.
using Sameness = std::pair<size_t, size_t>;

Sameness samenessOf(const QString& identity)
{
    return {qHash(identity, 0x5bd1e995), qHash(identity, 0x27d4eb2f)};
}

} // namespace

ContactImport::Plan ContactImport::plan(ReadResult read, const QString& databasePath)
{
    QSet<Sameness> known;
    EntryWriter directory(databasePath);
    directory.readEntries([&known](const EntryWriter::Entry& entry) {
        const auto field = [&entry](QString Contact::*f) { return entry[Columns::of(f).columnName()]; };
        known.insert(samenessOf(identity(
            field(&Contact::category), field(&Contact::fname), field(&Contact::lname), field(&Contact::busName),
            {field(&Contact::tel1), field(&Contact::tel2), field(&Contact::pel), field(&Contact::fax)})));
    });

    Plan result;
    result.problems = std::move(read.problems);
    const ContactList& contacts = read.contacts;
    QList<bool> duplicate(contacts.size(), false);
    bool anyDuplicate = false;
    for (qsizetype i = 0; i < contacts.size(); ++i) {
        const Contact contact = contacts.at(i);
        const Sameness same = samenessOf(identity(contact));
        if (known.contains(same)) {
            duplicate[i] = anyDuplicate = true;
            continue;
        }
        known.insert(same);
        ++(contact.category == kBusiness ? result.business : result.personal);
    }
    if (!read.messages.isEmpty()) {
        result.messages = directory.newMessages(read.messages);
        result.messagesKnown = int(read.messages.size() - result.messages.size());
    }
    if (!anyDuplicate) {
        result.added = std::move(read.contacts);
        return result;
    }
    for (qsizetype i = 0; i < contacts.size(); ++i)
        (duplicate.at(i) ? result.duplicates : result.added).append(contacts.at(i), contacts.originAt(i));
    return result;
}

bool ContactImport::write(const Plan& plan, const QString& databasePath, const Progress& progress, FirstNew* first)
{
    struct Cancelled
    {
    };
    EntryWriter directory(databasePath);
    try {
        directory.transaction([&] {
            int written = 0;
            for (const Contact& contact : plan.added) {
                const qint64 added = directory.add(contact);
                if (first) {
                    qint64& row = contact.category == ::Book::Business.name() ? first->business : first->personal;
                    if (row == 0)
                        row = added;
                }
                if (progress && !progress(++written))
                    throw Cancelled();
            }
            directory.addMessages(plan.messages);
        });
    } catch (const Cancelled&) {
        if (first)
            *first = FirstNew();
        return false;
    }
    return true;
}

QString ContactImport::summary(const Plan& plan)
{
    QStringList lines;
    lines << QCoreApplication::translate("ContactImport", "%n new entries: %1 in \"Personal\", %2 in \"Business\".",
                                         nullptr, int(plan.added.size()))
                 .arg(plan.personal)
                 .arg(plan.business);
    if (!plan.messages.isEmpty() || plan.messagesKnown > 0)
        lines << QCoreApplication::translate("ContactImport", "%n new messages for the log; %1 already there, skipped.",
                                             nullptr, int(plan.messages.size()))
                     .arg(plan.messagesKnown);
    const auto more = [&lines](qsizetype count) {
        if (count > 0)
            lines << QCoreApplication::translate("ContactImport", "  and %n more", nullptr, int(count));
    };
    if (!plan.duplicates.isEmpty()) {
        lines << QCoreApplication::translate("ContactImport", "%n already in the directory, skipped:", nullptr,
                                             int(plan.duplicates.size()));
        const qsizetype listed = std::min(plan.duplicates.size(), kListedDuplicates);
        for (qsizetype i = 0; i < listed; ++i)
            lines << QStringLiteral("  %1").arg(nameOf(plan.duplicates.at(i)));
        more(plan.duplicates.size() - listed);
    }
    if (!plan.problems.isEmpty()) {
        lines << QCoreApplication::translate("ContactImport", "%n values not carried over as they were:", nullptr,
                                             int(plan.problems.values()));
        for (const ExchangeProblem& p : plan.problems) {
            const QString where = p.record > 0 ? QCoreApplication::translate("ContactImport", "entry %1").arg(p.record)
                                               : QCoreApplication::translate("ContactImport", "file");
            const QString what = p.field.isEmpty() ? QString() : QLatin1Char(' ') + p.field;
            // A value may be a whole unreadable line; enough of it to recognise it is shown.
            const QString shown = p.value.size() > 80 ? p.value.left(77) + QStringLiteral("...") : p.value;
            const QString value = shown.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(shown);
            lines << QStringLiteral("  %1%2%3: %4").arg(where, what, value, p.action);
        }
        more(plan.problems.leftOut());
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
