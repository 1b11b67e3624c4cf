#include "cli/ContactCommandLine.h"

#include "cli/CommandRegistry.h"
#include "cli/Console.h"
#include "data/DbError.h"
#include "exchange/ContactImport.h"
#include "exchange/CsvWriter.h"
#include "exchange/PhoneNumbers.h"
#include "exchange/TargetFile.h"
#include "exchange/VCardWriter.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

int importFiles(const CommandArguments& given)
{
    const QStringList files = given.values(QStringLiteral("import")) + given.positional();
    const QString database = given.workingDatabase();
    // One file at a time, each only once read whole; a file that cannot be read is an error, and nothing is written.
    ReadResult all;
    for (const QString& path : files) {
        ContactImport::File file = ContactImport::load(path);
        if (!file.error.isEmpty()) {
            Console::error(
                QCoreApplication::translate("ContactCommandLine", "%1\nNothing was imported.\n").arg(file.error));
            return 2;
        }
        ContactImport::gather(
            all,
            ContactImport::readBytes(file.bytes, QFileInfo(path).fileName(), given.value(QStringLiteral("encoding"))),
            path, files.size() > 1);
    }
    const ContactImport::Plan plan = ContactImport::plan(std::move(all), database);
    Console::out(ContactImport::summary(plan));
    if (!given.isSet(QStringLiteral("dry-run")))
        ContactImport::write(plan, database);
    else
        Console::out(QCoreApplication::translate("ContactCommandLine", "Nothing was written (--dry-run).\n"));
    return plan.problems.isEmpty() ? 0 : 1;
}

QByteArray written(const QList<Contact>& entries, const QString& format)
{
    if (format == QLatin1String("csv"))
        return CsvWriter::contacts(entries);
    if (format == QLatin1String("google-csv"))
        return CsvWriter::contacts(entries, CsvWriter::Layout::Google);
    if (format == QLatin1String("outlook-csv"))
        return CsvWriter::contacts(entries, CsvWriter::Layout::Outlook);
    if (format == QLatin1String("vcard21"))
        return VCardWriter::write(entries, VCardWriter::Version::V21);
    if (format == QLatin1String("vcard4"))
        return VCardWriter::write(entries, VCardWriter::Version::V40);
    if (format == QLatin1String("vcard3"))
        return VCardWriter::write(entries, VCardWriter::Version::V30);
    throw DbError(-1, QCoreApplication::translate(
                          "ContactCommandLine",
                          "Unknown format \"%1\": use vcard3, vcard21, vcard4, csv, google-csv or outlook-csv.")
                          .arg(format));
}

int exportBook(const CommandArguments& given)
{
    const auto book = ContactCommandLine::chosenBook(given);
    if (!book)
        return 2;
    const QString database = given.workingDatabase();
    const QString path = given.value(QStringLiteral("export"));
    const QList<Contact> entries = ContactExport::entries(database, *book);
    const QString format = given.value(QStringLiteral("format"));
    const QString chosen = !format.isEmpty()                                           ? format
                           : path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? QStringLiteral("csv")
                                                                                       : QStringLiteral("vcard3");
    TargetFile::save(path, written(entries, chosen), database);
    Console::out(
        QCoreApplication::translate("ContactCommandLine", "%n entries written to %1.\n", nullptr, int(entries.size()))
            .arg(path));
    return 0;
}

int exportMessages(const CommandArguments& given)
{
    const QString database = given.workingDatabase();
    const QString path = given.value(QStringLiteral("export-messages"));
    QList<CsvWriter::MessageRow> rows;
    for (const ContactExport::Message& m : ContactExport::messages(database))
        rows.append({m.date, m.time, m.from, m.to, m.text});
    TargetFile::save(path, CsvWriter::messages(rows), database);
    Console::out(
        QCoreApplication::translate("ContactCommandLine", "%n messages written to %1.\n", nullptr, int(rows.size()))
            .arg(path));
    return 0;
}

} // namespace

int ContactCommandLine::takeRegion(int& argc, char** argv)
{
    return takeEarlyOption(argc, argv, "--region", [](const char* code) {
        if (*code && PhoneNumbers::setRegion(QString::fromLocal8Bit(code), false))
            return 0;
        Console::error(QCoreApplication::translate(
                           "ContactCommandLine",
                           "Unknown country \"%1\" for --region: give its two-letter code, such as US, GB or IL.\n")
                           .arg(QString::fromLocal8Bit(code)));
        return 2;
    });
}

std::optional<ContactExport::Book> ContactCommandLine::chosenBook(const CommandArguments& arguments)
{
    const QString name = arguments.value(QStringLiteral("book"));
    const auto book = ContactExport::bookNamed(name);
    if (!book)
        Console::error(
            QCoreApplication::translate("ContactCommandLine", "Unknown book \"%1\": use personal, business or both.\n")
                .arg(name));
    return book;
}

void ContactCommandLine::addTo(CommandRegistry& registry)
{
    registry.addCommand(
        {QStringLiteral("import"),
         QCoreApplication::translate("ContactCommandLine", "Imports the contacts of FILE (more files may follow)."),
         QStringLiteral("FILE")},
        importFiles);
    registry.addOption(
        {QStringLiteral("encoding"),
         QCoreApplication::translate("ContactCommandLine",
                                     "Reads text that names no encoding and is not UTF-8 in NAME, e.g. windows-1255, "
                                     "windows-1252, ISO-8859-8, Shift_JIS."),
         QStringLiteral("NAME")},
        {QStringLiteral("import")});
    // Taken out of the arguments at the start (takeRegion); listed so that --help names it.
    registry.addOption({QStringLiteral("region"),
                        QCoreApplication::translate(
                            "ContactCommandLine",
                            "Reads and writes telephone numbers without a country code as numbers of the country CODE "
                            "(US, GB, IL, ...) for this run, windows too; the default is the one chosen in Settings, "
                            "else the locale's."),
                        QStringLiteral("CODE")});
    registry.addOption(
        {QStringLiteral("dry-run"),
         QCoreApplication::translate("ContactCommandLine", "Prints what an import would do and writes nothing.")},
        {QStringLiteral("import")});
    registry.addCommand({QStringLiteral("export"),
                         QCoreApplication::translate("ContactCommandLine", "Exports entries to FILE."),
                         QStringLiteral("FILE")},
                        exportBook);
    registry.addOption({QStringLiteral("book"),
                        QCoreApplication::translate(
                            "ContactCommandLine", "The book to export or print: personal, business or both (default)."),
                        QStringLiteral("BOOK"), QStringLiteral("both")},
                       {QStringLiteral("export"), QStringLiteral("pdf")});
    registry.addOption({QStringLiteral("format"),
                        QCoreApplication::translate(
                            "ContactCommandLine",
                            "vcard3 (default), vcard21 for old phones, vcard4, csv (the default for a FILE ending in "
                            ".csv), or google-csv and outlook-csv in the layouts those services import."),
                        QStringLiteral("FORMAT")},
                       {QStringLiteral("export")});
    registry.addCommand({QStringLiteral("export-messages"),
                         QCoreApplication::translate("ContactCommandLine", "Exports the message log to FILE as CSV."),
                         QStringLiteral("FILE")},
                        exportMessages);
    registry.addPositional(QStringLiteral("FILE"),
                           QCoreApplication::translate("ContactCommandLine", "More files to import."),
                           QStringLiteral("[FILE...]"));
}
