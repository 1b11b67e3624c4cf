#include "app/CommandLine.h"

#include "app/Module1.h"
#include "app/Printout.h"
#include "data/Book.h"
#include "data/Database.h"
#include "data/DbError.h"
#include "exchange/AccessFile.h"
#include "exchange/ContactExport.h"
#include "exchange/ContactImport.h"
#include "exchange/CsvWriter.h"
#include "exchange/PhoneNumbers.h"
#include "exchange/TargetFile.h"
#include "exchange/VCardWriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The options Qt's own application object takes for the windows; any other option is this program's, and one it
// does not know is an error the parser reports.
const char* const kWindowOptions = " platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon "
                                   "qwindowtitle reverse session display geometry style stylesheet widgetcount nograb "
                                   "dograb sync name title visual qmljsdebugger fontengine testability ";

bool isWindowOption(const char* argument)
{
    const char* name = argument + (argument[1] == '-' ? 2 : 1);
    const std::string word = ' ' + std::string(name, std::strcspn(name, "=")) + ' ';
    return std::strstr(kWindowOptions, word.c_str()) != nullptr;
}

void say(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

QString bookTitle(ContactExport::Book book)
{
    switch (book) {
    case ContactExport::Book::Personal:
        return ::Book::Personal.name();
    case ContactExport::Book::Business:
        return ::Book::Business.name();
    case ContactExport::Book::Both:
        break;
    }
    return QStringLiteral("Personal and Business");
}

int importFiles(const QStringList& files, const QString& encoding, bool dryRun, const QString& database)
{
    // One file at a time, each only once read whole; a file that cannot be read is an error, and nothing is written.
    ReadResult all;
    for (const QString& path : files) {
        ContactImport::File file = ContactImport::load(path);
        if (!file.error.isEmpty()) {
            say(stderr, file.error + QStringLiteral("\nNothing was imported.\n"));
            return 2;
        }
        ContactImport::gather(all, ContactImport::readBytes(file.bytes, QFileInfo(path).fileName(), encoding), path,
                              files.size() > 1);
    }
    const ContactImport::Plan plan = ContactImport::plan(std::move(all), database);
    say(stdout, ContactImport::summary(plan));
    if (!dryRun)
        ContactImport::write(plan, database);
    else
        say(stdout, QStringLiteral("Nothing was written (--dry-run).\n"));
    return plan.problems.isEmpty() ? 0 : 1;
}

int exportBook(const QString& path, ContactExport::Book book, const QString& format, const QString& database)
{
    const QList<Contact> entries = ContactExport::entries(database, book);
    const QString chosen = !format.isEmpty()                                           ? format
                           : path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? QStringLiteral("csv")
                                                                                       : QStringLiteral("vcard3");
    QByteArray bytes;
    if (chosen == QLatin1String("csv"))
        bytes = CsvWriter::contacts(entries);
    else if (chosen == QLatin1String("google-csv"))
        bytes = CsvWriter::contacts(entries, CsvWriter::Layout::Google);
    else if (chosen == QLatin1String("outlook-csv"))
        bytes = CsvWriter::contacts(entries, CsvWriter::Layout::Outlook);
    else if (chosen == QLatin1String("vcard21"))
        bytes = VCardWriter::write(entries, VCardWriter::Version::V21);
    else if (chosen == QLatin1String("vcard4"))
        bytes = VCardWriter::write(entries, VCardWriter::Version::V40);
    else if (chosen == QLatin1String("vcard3"))
        bytes = VCardWriter::write(entries, VCardWriter::Version::V30);
    else
        throw DbError(-1, QStringLiteral("Unknown format \"%1\": use vcard3, vcard21, vcard4, csv, google-csv or "
                                         "outlook-csv.")
                              .arg(chosen));
    TargetFile::save(path, bytes, database);
    say(stdout, QStringLiteral("%1 entries written to %2.\n").arg(entries.size()).arg(path));
    return 0;
}

int exportMessages(const QString& path, const QString& database)
{
    QList<CsvWriter::MessageRow> rows;
    for (const ContactExport::Message& m : ContactExport::messages(database))
        rows.append({m.date, m.time, m.from, m.to, m.text});
    TargetFile::save(path, CsvWriter::messages(rows), database);
    say(stdout, QStringLiteral("%1 messages written to %2.\n").arg(rows.size()).arg(path));
    return 0;
}

int savePdf(const QString& path, ContactExport::Book book, const QString& database)
{
    const QList<Contact> entries = ContactExport::entries(database, book);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    Printout::print(printer, database,
                    [&](QPagedPaintDevice& device) { Printout::book(device, bookTitle(book), entries); });
    say(stdout, QStringLiteral("%1 entries printed to %2.\n").arg(entries.size()).arg(path));
    return 0;
}

QString databaseShown()
{
    try {
        return Module1::databaseLocation();
    } catch (const DbError& error) {
        return error.description();
    }
}

} // namespace

QString CommandLine::workingDatabase()
{
    // However many statements the command runs, it waits for another program's lock once.
    Database::shareBusyWait(true);
    const QString database = Module1::databasePath();
    if (AccessFile::hasSignature(database))
        throw DbError(-1, QStringLiteral("\"%1\" is a data file of the old program (an Access database). Start "
                                         "Tovrin once without options to convert it.")
                              .arg(database));
    return database;
}

int CommandLine::takeRegion(int& argc, char** argv)
{
    static constexpr char kOption[] = "--region";
    constexpr std::size_t kLength = sizeof kOption - 1;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        const char* code = nullptr;
        if (std::strcmp(argument, kOption) == 0)
            code = i + 1 < argc ? argv[++i] : "";
        else if (std::strncmp(argument, kOption, kLength) == 0 && argument[kLength] == '=')
            code = argument + kLength + 1;
        if (!code) {
            argv[kept++] = argv[i];
            continue;
        }
        if (!PhoneNumbers::setRegion(QString::fromLocal8Bit(code), false) || !*code) {
            std::fprintf(
                stderr, "%s",
                qPrintable(QCoreApplication::translate("CommandLine", "Unknown country \"%1\" for --region: give its "
                                                                      "two-letter code, such as US, GB or IL.\n")
                               .arg(QString::fromLocal8Bit(code))));
            return 2;
        }
    }
    argc = kept;
    argv[kept] = nullptr;
    return 0;
}

bool CommandLine::wanted(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-' && argv[i][1] != '\0' && !isWindowOption(argv[i]))
            return true;
    }
    return false;
}

int CommandLine::run(int argc, char** argv)
{
    // Only a PDF needs fonts and a paint engine; it gets them without any display.
    bool pdf = false;
    for (int i = 1; i < argc; ++i)
        pdf = pdf || std::strncmp(argv[i], "--pdf", 5) == 0;
    if (pdf)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(pdf ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("Tovrin")); // as the windows name it: the same data folder
    QCoreApplication::setApplicationVersion(QStringLiteral(TOVRIN_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tovrin, a telephone directory with a telephone-message pad.\n"
                       "Without options it starts its windows. With them it works on the directory file the windows "
                       "use (%1) and opens no window.\n\n"
                       "Import reads vCard (2.1, 3.0, 4.0) and CSV files, and the old program's Access data files "
                       "(.mdb, .accdb: entries and messages), and prints what it will do: the entries for "
                       "each book, those already in the directory (skipped) and every value not carried over as it "
                       "was. It writes all the entries or none.\n"
                       "Exit codes: 0 everything was carried over, 1 something was left out, 2 an error.")
            .arg(databaseShown()));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption import(QStringLiteral("import"),
                                    QStringLiteral("Imports the contacts of FILE (more files may follow)."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption encoding(QStringLiteral("encoding"),
                                      QStringLiteral("Reads text that names no encoding and is not UTF-8 in NAME, "
                                                     "e.g. windows-1255, windows-1252, ISO-8859-8, Shift_JIS."),
                                      QStringLiteral("NAME"));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                    QStringLiteral("Prints what an import would do and writes nothing."));
    const QCommandLineOption exportOption(QStringLiteral("export"), QStringLiteral("Exports entries to FILE."),
                                          QStringLiteral("FILE"));
    const QCommandLineOption book(QStringLiteral("book"),
                                  QStringLiteral("The book to export or print: personal, business or both (default)."),
                                  QStringLiteral("BOOK"), QStringLiteral("both"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("vcard3 (default), vcard21 for old phones, vcard4, csv (the "
                                                   "default for a FILE ending in .csv), or google-csv and outlook-csv "
                                                   "in the layouts those services import."),
                                    QStringLiteral("FORMAT"));
    const QCommandLineOption messages(QStringLiteral("export-messages"),
                                      QStringLiteral("Exports the message log to FILE as CSV."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption pdfOption(QStringLiteral("pdf"), QStringLiteral("Prints a book to FILE as PDF."),
                                       QStringLiteral("FILE"));
    // Taken out of the arguments at the start (takeRegion); listed here so that --help names it.
    const QCommandLineOption region(QStringLiteral("region"),
                                    QStringLiteral("Reads and writes telephone numbers without a country code as "
                                                   "numbers of the country CODE (US, GB, IL, ...) for this run, "
                                                   "windows too; the default is the one chosen in Settings, else "
                                                   "the locale's."),
                                    QStringLiteral("CODE"));
    // Carried out by BackupCommands before this parser sees them; listed here so that --help names them.
    const QCommandLineOption backup(QStringLiteral("backup"),
                                    QStringLiteral("Writes a consistent copy of the directory file to FILE."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption listBackups(QStringLiteral("list-backups"),
                                         QStringLiteral("Lists the program's backup copies with their entries and "
                                                        "messages."));
    const QCommandLineOption restore(QStringLiteral("restore"),
                                     QStringLiteral("Replaces the directory's contents with those of FILE (a path, or "
                                                    "the name of a copy in the backups folder), keeping a copy of "
                                                    "the current contents first."),
                                     QStringLiteral("FILE"));
    // Carried out by SyncCommands, likewise.
    const QCommandLineOption syncSetup(QStringLiteral("sync-setup"),
                                       QStringLiteral("Sets up the sync of both books with the CardDAV server at URL "
                                                      "for the user --user NAME, the password read with "
                                                      "--password-stdin; --personal and --business name the address "
                                                      "books, --trust-certificate accepts a certificate the system "
                                                      "does not trust by its SHA-256 digest."),
                                       QStringLiteral("URL"));
    const QCommandLineOption sync(QStringLiteral("sync"),
                                  QStringLiteral("Syncs both books with the server once (exit 0 all done, 1 something "
                                                 "reported, 2 an error); --password-stdin reads the password."));
    const QCommandLineOption forceDelete(
        QStringLiteral("force-delete"),
        QCoreApplication::translate("CommandLine", "With --sync: deletes here the entries the server no longer lists, "
                                                   "however many (a copy of the file is kept first)."));
    parser.addOptions({import, encoding, region, dryRun, exportOption, book, format, messages, pdfOption, backup,
                       listBackups, restore, syncSetup, sync, forceDelete});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("More files to import."),
                                 QStringLiteral("[FILE...]"));
    if (!parser.parse(QCoreApplication::arguments())) {
        say(stderr, parser.errorText() + QStringLiteral("\n"));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        say(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        say(stdout, QStringLiteral("tovrin %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    }

    const auto chosenBook = ContactExport::bookNamed(parser.value(book));
    if (!chosenBook) {
        say(stderr, QStringLiteral("Unknown book \"%1\": use personal, business or both.\n").arg(parser.value(book)));
        return 2;
    }
    try {
        const QString database = workingDatabase();
        int code = 0;
        if (parser.isSet(import))
            code = std::max(code, importFiles(parser.values(import) + parser.positionalArguments(),
                                              parser.value(encoding), parser.isSet(dryRun), database));
        if (parser.isSet(exportOption))
            code = std::max(code, exportBook(parser.value(exportOption), *chosenBook, parser.value(format), database));
        if (parser.isSet(messages))
            code = std::max(code, exportMessages(parser.value(messages), database));
        if (parser.isSet(pdfOption))
            code = std::max(code, savePdf(parser.value(pdfOption), *chosenBook, database));
        return code;
    } catch (const DbError& error) {
        // The program's own refusals (a file it will not write) have no engine number to show.
        say(stderr, error.number() > 0 ? QStringLiteral("Error %1\n%2\n").arg(error.number()).arg(error.description())
                                       : error.description() + QLatin1Char('\n'));
        return 2;
    }
}
