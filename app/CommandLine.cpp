#include "app/CommandLine.h"

#include "app/Module1.h"
#include "app/Printing.h"
#include "app/Printout.h"
#include "cli/BackupCommandLine.h"
#include "cli/CommandRegistry.h"
#include "cli/Console.h"
#include "cli/ContactCommandLine.h"
#include "cli/Language.h"
#include "cli/MessageCommandLine.h"
#include "cli/SyncCommandLine.h"
#include "data/Book.h"
#include "data/DbError.h"
#include "exchange/ContactExport.h"

#include <QGuiApplication>

namespace {

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
    return QCoreApplication::translate("CommandLine", "Personal and Business");
}

int savePdf(const CommandArguments& given)
{
    const auto book = ContactCommandLine::chosenBook(given);
    if (!book)
        return 2;
    const QString database = given.workingDatabase();
    const QString path = given.value(QStringLiteral("pdf"));
    const QList<Contact> entries = ContactExport::entries(database, *book);
    const std::unique_ptr<Printer> printer = Printing::table().pdf(path);
    Printout::print(*printer, database,
                    [&](QPagedPaintDevice& device) { Printout::book(device, bookTitle(*book), entries); });
    Console::out(QCoreApplication::translate("CommandLine", "%n entries printed to %1.\n", nullptr, int(entries.size()))
                     .arg(path));
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

void CommandLine::addTo(CommandRegistry& registry)
{
    registry.setDescription([] {
        return QCoreApplication::translate(
                   "CommandLine",
                   "Tovrin, a telephone directory with a telephone-message pad.\n"
                   "Without options it starts its windows. With them it works on the directory file the "
                   "windows use (%1) and opens no window.\n\n"
                   "Import reads vCard (2.1, 3.0, 4.0) and CSV files, and the old program's Access data "
                   "files (.mdb, .accdb: entries and messages), and prints what it will do: the entries for "
                   "each book, those already in the directory (skipped) and every value not carried over "
                   "as it was. It writes all the entries or none.\n"
                   "Exit codes: 0 everything was carried over, 1 something was left out, 2 an error.")
            .arg(databaseShown());
    });
    registry.setDatabase(Module1::databasePath);
    // A PDF needs fonts and a paint engine; it gets them without any display.
    registry.setPaintApplication([](int& argc, char** argv) -> std::unique_ptr<QCoreApplication> {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    });
    ContactCommandLine::addTo(registry);
    registry.addCommand({QStringLiteral("pdf"),
                         QCoreApplication::translate("CommandLine", "Prints a book to FILE as PDF."),
                         QStringLiteral("FILE")},
                        savePdf, true);
    MessageCommandLine::addTo(registry);
    BackupCommandLine::addTo(registry);
    SyncCommandLine::addTo(registry);
    // Taken out of the arguments at the start (Language::takeOption); listed so that --help names it.
    registry.addOption(
        {QStringLiteral("lang"),
         QCoreApplication::translate("CommandLine", "Speaks LANGUAGE for this run, windows too: he (Hebrew) or en "
                                                    "(English); the default is the locale's."),
         QStringLiteral("LANGUAGE")});
}

int CommandLine::runIfWanted(int argc, char** argv)
{
    CommandRegistry first;
    addTo(first);
    if (!first.wanted(argc, argv))
        return -1;
    const std::unique_ptr<QCoreApplication> app = first.application(argc, argv);
    Language::install();
    CommandRegistry commands;
    addTo(commands);
    return commands.run(argc, argv);
}
