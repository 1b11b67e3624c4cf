#include "ContactImport.h"

#include "AccessImport.h"
#include "ContactFit.h"
#include "CsvReader.h"
#include "DataControl.h"
#include "VCardReader.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace {

const QString kPersonal = QStringLiteral("Personal");
const QString kBusiness = QStringLiteral("Business");

// The twelve columns in the order the entry window writes them, with the contact's value of each.
QList<std::pair<QString, QString>> columnsOf(const Contact& c)
{
    return {{QStringLiteral("Fname"), c.fname}, {QStringLiteral("Lname"), c.lname},
            {QStringLiteral("BusName"), c.busName}, {QStringLiteral("Category"), c.category},
            {QStringLiteral("Address"), c.address}, {QStringLiteral("City"), c.city},
            {QStringLiteral("State"), c.state}, {QStringLiteral("Zip"), c.zip},
            {QStringLiteral("Tel1"), c.tel1}, {QStringLiteral("Tel2"), c.tel2},
            {QStringLiteral("Pel"), c.pel}, {QStringLiteral("Fax"), c.fax}};
}

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
        name = name.isEmpty() ? c.busName.trimmed() : c.busName.trimmed() + QStringLiteral(" (") + name + QLatin1Char(')');
    return name.isEmpty() ? QStringLiteral("(no name)") : name;
}

} // namespace

ReadResult ContactImport::readFile(const QString& path, const QString& encoding, bool* encodingUsed)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReadResult failed;
        failed.problems.append({0, QString(), path, QStringLiteral("cannot be read: %1").arg(file.errorString())});
        return failed;
    }
    return readBytes(file.readAll(), QFileInfo(path).fileName(), encoding, encodingUsed);
}

namespace {

QString fallbackOr(const QString& encoding)
{
    return encoding.isEmpty() ? QStringLiteral("windows-1252") : encoding;
}

// A vCard file starts with its first card, whatever its name; anything else is read as CSV.
bool isVCard(const QByteArray& bytes, const QString& name)
{
    return bytes.left(512).trimmed().toUpper().contains("BEGIN:VCARD") ||
           name.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".vcard"), Qt::CaseInsensitive);
}

} // namespace

QStringList ContactImport::unnamedColumns(const QByteArray& bytes, const QString& name, const QString& encoding)
{
    if (isVCard(bytes, name) || AccessFile::hasSignature(bytes))
        return {};
    CsvReader::Options options;
    options.fallbackEncoding = fallbackOr(encoding);
    const CsvReader::Table table = CsvReader(bytes).table(options);
    return table.hasHeader || table.records.isEmpty() ? QStringList() : table.records.first();
}

QStringList ContactImport::columnChoices()
{
    return {QStringLiteral("(not read)"), QStringLiteral("First Name"),    QStringLiteral("Last Name"),
            QStringLiteral("Company"),    QStringLiteral("Street"),        QStringLiteral("City"),
            QStringLiteral("State"),      QStringLiteral("Postal Code"),   QStringLiteral("Telephone"),
            QStringLiteral("Mobile Phone"), QStringLiteral("Fax")};
}

ReadResult ContactImport::readBytes(const QByteArray& bytes, const QString& name, const QString& encoding,
                                    bool* encodingUsed, const QStringList& columnNames)
{
    // An old program's data file, whatever its name; a file named like one is read as one, and refused when it is not.
    if (AccessFile::hasSignature(bytes) || name.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive) ||
        name.endsWith(QLatin1String(".accdb"), Qt::CaseInsensitive))
        return AccessImport::read(bytes, name, encoding, encodingUsed);
    const QString fallback = fallbackOr(encoding);
    ReadResult raw;
    if (isVCard(bytes, name)) {
        raw = VCardReader::read(bytes, fallback, encodingUsed);
    } else {
        CsvReader::Options options;
        options.fallbackEncoding = fallback;
        options.columnNames = columnNames;
        if (!columnNames.isEmpty())
            options.header = CsvReader::Header::Absent;
        const CsvReader reader(bytes);
        raw = reader.read(options);
        // Whether the fallback was needed shows in decoding alone; the fields are not cut up a second time.
        if (encodingUsed)
            reader.decode(options, nullptr, encodingUsed);
    }
    ReadResult result;
    result.problems = raw.problems;
    for (int i = 0; i < raw.contacts.size(); ++i) {
        const ContactFit::Result fitted = ContactFit::fit(raw.contacts.at(i), i + 1);
        result.problems += fitted.problems;
        if (!fitted.empty)
            result.contacts.append(fitted.contact);
    }
    if (raw.contacts.isEmpty() && raw.problems.isEmpty())
        result.problems.append({0, QString(), name, QStringLiteral("holds no contact")});
    std::stable_sort(result.problems.begin(), result.problems.end(),
                     [](const ExchangeProblem& a, const ExchangeProblem& b) { return a.record < b.record; });
    return result;
}

ContactImport::Plan ContactImport::plan(const ReadResult& read, const QString& databasePath)
{
    QSet<QString> known;
    DataControl directory;
    directory.setDatabaseName(databasePath);
    directory.setRecordSource(QStringLiteral("SELECT * FROM tblTel"));
    directory.Refresh();
    for (Recordset* rs = directory.Recordset(); !rs->Eof(); rs->MoveNext()) {
        const auto field = [rs](const char* name) { return rs->Fields(QLatin1String(name)).Value().toString(); };
        known.insert(identity(field("Category"), field("Fname"), field("Lname"), field("BusName"),
                              {field("Tel1"), field("Tel2"), field("Pel"), field("Fax")}));
    }

    Plan result;
    result.problems = read.problems;
    for (const Contact& contact : read.contacts) {
        const QString id = identity(contact);
        if (known.contains(id)) {
            result.duplicates.append(contact);
            continue;
        }
        known.insert(id);
        result.added.append(contact);
        ++(contact.category == kBusiness ? result.business : result.personal);
    }
    if (!read.messages.isEmpty()) {
        result.messages = StoredRows::newMessages(*directory.database(), read.messages);
        result.messagesKnown = int(read.messages.size() - result.messages.size());
    }
    return result;
}

bool ContactImport::write(const Plan& plan, const QString& databasePath, const Progress& progress)
{
    struct Cancelled
    {
    };
    DataControl directory;
    directory.setDatabaseName(databasePath);
    directory.setRecordSource(QStringLiteral("SELECT * FROM tblTel"));
    directory.Refresh();
    Recordset* rs = directory.Recordset();
    try {
        directory.database()->transaction([&] {
            int written = 0;
            for (const Contact& contact : plan.added) {
                rs->AddNew();
                for (const auto& [column, value] : columnsOf(contact))
                    rs->setCollect(column, value);
                rs->Update();
                if (progress && !progress(++written))
                    throw Cancelled();
            }
            StoredRows::addMessages(*directory.database(), plan.messages);
        });
    } catch (const Cancelled&) {
        return false;
    }
    return true;
}

QString ContactImport::summary(const Plan& plan)
{
    QStringList lines;
    lines << QStringLiteral("%1 new entries: %2 in \"Personal\", %3 in \"Business\".")
                 .arg(plan.added.size())
                 .arg(plan.personal)
                 .arg(plan.business);
    if (!plan.messages.isEmpty() || plan.messagesKnown > 0)
        lines << QStringLiteral("%1 new messages for the log; %2 already there, skipped.")
                     .arg(plan.messages.size())
                     .arg(plan.messagesKnown);
    if (!plan.duplicates.isEmpty()) {
        lines << QStringLiteral("%1 already in the directory, skipped:").arg(plan.duplicates.size());
        for (const Contact& c : plan.duplicates)
            lines << QStringLiteral("  %1").arg(nameOf(c));
    }
    if (!plan.problems.isEmpty()) {
        lines << QStringLiteral("%1 values not carried over as they were:").arg(plan.problems.size());
        for (const ExchangeProblem& p : plan.problems) {
            const QString where = p.record > 0 ? QStringLiteral("entry %1").arg(p.record) : QStringLiteral("file");
            const QString what = p.field.isEmpty() ? QString() : QLatin1Char(' ') + p.field;
            // A value may be a whole unreadable line; enough of it to recognise it is shown.
            const QString shown = p.value.size() > 80 ? p.value.left(77) + QStringLiteral("...") : p.value;
            const QString value = shown.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(shown);
            lines << QStringLiteral("  %1%2%3: %4").arg(where, what, value, p.action);
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
