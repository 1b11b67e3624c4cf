#include "cli/SyncCommandLine.h"

#include "cli/CommandRegistry.h"
#include "cli/Console.h"
#include "data/Book.h"
#include "data/Database.h"
#include "data/DbError.h"
#include "sync/Discovery.h"
#include "sync/SyncFile.h"
#include "sync/SyncSettings.h"
#include "sync/SyncSetup.h"

#include <QCoreApplication>
#include <QFile>

namespace {

QString readPassword()
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return {};
    QByteArray line = in.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

QString namesOf(const QList<Discovery::AddressBook>& books)
{
    QStringList names;
    for (const Discovery::AddressBook& book : books)
        names << QStringLiteral("\"%1\"").arg(book.name);
    return names.join(QStringLiteral(", "));
}

// The address of each book's address book, made on the server where the choice says so; false after saying why.
bool resolve(DavClient& client, const Discovery::Result& found, const SyncSetup::Choice& choice, SyncSettings& settings)
{
    QStringList unchosen; // books the user has to name an address book for
    for (const auto& [pick, book] : {std::pair{&choice.personal, &Book::Personal}, {&choice.business, &Book::Business}})
        if (pick->found < 0 && pick->create.isEmpty())
            unchosen << QStringLiteral("\"%1\"").arg(book->name());
    if (!unchosen.isEmpty()) {
        // The user's own address books are never passed over for new empty ones without the user's word.
        Console::error(QCoreApplication::translate("SyncCommandLine",
                                                   "The server has the address books %1, none of them for %2. Name "
                                                   "the address book of each book with --personal NAME and "
                                                   "--business NAME (the same one may take both books; a name the "
                                                   "server does not have is made there, empty).\nNothing was "
                                                   "changed.\n")
                           .arg(namesOf(found.books), unchosen.size() == 1
                                                          ? unchosen.constFirst()
                                                          : QCoreApplication::translate("SyncCommandLine", "%1 and %2")
                                                                .arg(unchosen.constFirst(), unchosen.constLast())));
        return false;
    }
    QString error;
    for (const auto& [pick, url] :
         {std::pair{&choice.personal, &settings.personal}, {&choice.business, &settings.business}}) {
        if (error.isEmpty())
            *url = pick->found >= 0 ? found.books.at(pick->found).url
                                    : Discovery::create(client, found.home, pick->create, error);
    }
    if (error.isEmpty())
        return true;
    Console::error(found.books.isEmpty()
                       ? QCoreApplication::translate(
                             "SyncCommandLine", "%1\nThe server has no address books. Name them with --personal and "
                                                "--business (the same one takes both books).\nNothing was changed.\n")
                             .arg(error)
                       : QCoreApplication::translate(
                             "SyncCommandLine", "%1\nThe address books there: %2. Name them with --personal and "
                                                "--business (the same one takes both books).\nNothing was changed.\n")
                             .arg(error, namesOf(found.books)));
    return false;
}

// The task list of the messages in `settings.tasks`: the one named with --tasks (or "Messages"), made on the server
// when it lacks one. A server without task lists leaves it empty, told, unless one was named: then false, said why.
bool resolveTasks(DavClient& client, const QUrl& server, const CommandArguments& given, SyncSettings& settings)
{
    const bool named = given.isSet(QStringLiteral("tasks"));
    const Discovery::Result found = Discovery::findTaskLists(client, server);
    QString error = found.error;
    if (error.isEmpty()) {
        const SyncSetup::Pick pick = SyncSetup::chooseTaskList(found.books, given.value(QStringLiteral("tasks")));
        settings.tasks = pick.found >= 0 ? found.books.at(pick.found).url
                                         : Discovery::createTaskList(client, found.home, pick.create, error);
    }
    if (error.isEmpty())
        return true;
    if (!named) {
        // A server of address books alone still syncs the books.
        Console::out(QCoreApplication::translate("SyncCommandLine", "The messages do not sync: %1\n").arg(error));
        return true;
    }
    Console::error(
        QCoreApplication::translate("SyncCommandLine", "The task list could not be set up: %1\n").arg(error));
    return false;
}

// Says where the books sync and where the password went; the exit code.
int told(const SyncSettings& settings, const Credentials::Kept& kept)
{
    if (settings.personal == settings.business)
        Console::out(QCoreApplication::translate("SyncCommandLine", "Both books sync with %1.\n")
                         .arg(settings.personal.toDisplayString()));
    else
        Console::out(
            QCoreApplication::translate("SyncCommandLine", "\"Personal\" syncs with %1.\n\"Business\" syncs with %2.\n")
                .arg(settings.personal.toDisplayString(), settings.business.toDisplayString()));
    if (!settings.tasks.isEmpty())
        Console::out(QCoreApplication::translate("SyncCommandLine", "The messages sync with %1.\n")
                         .arg(settings.tasks.toDisplayString()));
    if (!kept.ok) {
        Console::error(
            QCoreApplication::translate("SyncCommandLine",
                                        "The password could not be kept (%1): give it with --sync --password-stdin.\n")
                .arg(kept.note));
        return 1;
    }
    if (!kept.note.isEmpty())
        Console::out(
            QCoreApplication::translate("SyncCommandLine", "The password is kept in %1, readable by you alone: %2.\n")
                .arg(kept.where, kept.note));
    else
        Console::out(QCoreApplication::translate("SyncCommandLine", "The password is kept in %1.\n").arg(kept.where));
    return 0;
}

int setUp(const CommandArguments& given)
{
    // A user name and password written into the address are taken from it, and never stored with it; the options,
    // when given, have the last word.
    QUrl server = QUrl::fromUserInput(given.value(QStringLiteral("sync-setup")));
    QString user, password;
    SyncSettings::takeUserInfo(server, user, password);
    if (given.isSet(QStringLiteral("user")))
        user = given.value(QStringLiteral("user"));
    if (user.isEmpty()) {
        Console::error(QCoreApplication::translate("SyncCommandLine", "--sync-setup needs --user NAME.\n"));
        return 2;
    }
    if (given.isSet(QStringLiteral("password-stdin"))) {
        password = readPassword();
    } else if (password.isEmpty()) {
        Console::error(QCoreApplication::translate("SyncCommandLine",
                                                   "Give the password on standard input with --password-stdin.\n"));
        return 2;
    }
    const QString certificate = given.value(QStringLiteral("trust-certificate"));
    DavClient client(server, user, password);
    client.setPinnedCertificate(certificate);
    const Discovery::Result found = Discovery::find(client, server);
    if (!found.error.isEmpty()) {
        Console::error(QCoreApplication::translate("SyncCommandLine",
                                                   "The address books could not be found: %1\nNothing was changed.\n")
                           .arg(found.error));
        if (!client.untrustedCertificate().isEmpty())
            Console::error(QCoreApplication::translate(
                               "SyncCommandLine",
                               "If that is the certificate of your server, set up again with --trust-certificate %1\n")
                               .arg(client.untrustedCertificate()));
        return 2;
    }
    SyncSettings settings;
    settings.certificate = DavClient::normalized(certificate);
    settings.server = server;
    settings.user = user;
    const SyncSetup::Choice choice =
        SyncSetup::choose(found, given.value(QStringLiteral("personal")), given.value(QStringLiteral("business")));
    if (!resolve(client, found, choice, settings) || !resolveTasks(client, server, given, settings))
        return 2;
    const auto db = Database::open(given.workingDatabase());
    return told(settings, SyncSetup::keep(*db, settings, password));
}

int sync(const CommandArguments& given)
{
    SyncRun::Options options;
    options.forceDelete = given.isSet(QStringLiteral("force-delete"));
    // After a set-up in the same run the password on standard input was read already, and is kept.
    const bool ownPassword =
        given.isSet(QStringLiteral("password-stdin")) && !given.isSet(QStringLiteral("sync-setup"));
    const SyncReport report = SyncFile::run(given.workingDatabase(), ownPassword ? readPassword() : QString(), options);
    if (report.exitCode() == 2)
        Console::error(report.summary() + QLatin1Char('\n'));
    else
        Console::out(report.summary() + QLatin1Char('\n'));
    if (!report.held.isEmpty())
        Console::error(QCoreApplication::translate("SyncCommandLine",
                                                   "To delete them here as well (a copy of the "
                                                   "file is kept first): tovrin --sync --force-delete\n"));
    return report.exitCode();
}

// Failures of the directory file are said as the sync says its own: without the engine's number.
CommandRegistry::Run plainErrors(int (*command)(const CommandArguments&))
{
    return [command](const CommandArguments& given) {
        try {
            return command(given);
        } catch (const DbError& error) {
            Console::error(error.description() + QLatin1Char('\n'));
            return 2;
        }
    };
}

} // namespace

void SyncCommandLine::addTo(CommandRegistry& registry)
{
    registry.addCommand({QStringLiteral("sync-setup"),
                         QCoreApplication::translate(
                             "SyncCommandLine",
                             "Sets up the sync of both books with the CardDAV server at URL for the user --user NAME, "
                             "the password read with --password-stdin; --personal and --business name the address "
                             "books, --tasks the task list of the messages (\"Messages\" unless named; made when "
                             "missing), --trust-certificate accepts a certificate the system does not trust by its "
                             "SHA-256 digest."),
                         QStringLiteral("URL")},
                        plainErrors(setUp));
    registry.addCommand(
        {QStringLiteral("sync"),
         QCoreApplication::translate("SyncCommandLine",
                                     "Syncs both books with the server once (exit 0 all done, 1 something reported, 2 "
                                     "an error); --password-stdin reads the password.")},
        plainErrors(sync));
    registry.addOption(
        {QStringLiteral("force-delete"),
         QCoreApplication::translate("SyncCommandLine", "With --sync: deletes here the entries the server no longer "
                                                        "lists, however many (a copy of the file is kept first).")},
        {QStringLiteral("sync")});
    const QStringList withSetUp{QStringLiteral("sync-setup")};
    registry.addOption({QStringLiteral("user"),
                        QCoreApplication::translate("SyncCommandLine", "The user name on the server."),
                        QStringLiteral("NAME")},
                       withSetUp);
    registry.addOption({QStringLiteral("password-stdin"),
                        QCoreApplication::translate("SyncCommandLine", "Reads the password from standard input.")},
                       {QStringLiteral("sync-setup"), QStringLiteral("sync")});
    registry.addOption({QStringLiteral("personal"),
                        QCoreApplication::translate("SyncCommandLine", "The address book of \"Personal\"."),
                        QStringLiteral("NAME")},
                       withSetUp);
    registry.addOption({QStringLiteral("business"),
                        QCoreApplication::translate("SyncCommandLine", "The address book of \"Business\"."),
                        QStringLiteral("NAME")},
                       withSetUp);
    registry.addOption(
        {QStringLiteral("tasks"),
         QCoreApplication::translate("SyncCommandLine", "The task list the messages sync with (\"Messages\" unless "
                                                        "named; made on the server when it has none of that name)."),
         QStringLiteral("NAME")},
        withSetUp);
    registry.addOption(
        {QStringLiteral("trust-certificate"),
         QCoreApplication::translate("SyncCommandLine", "Accepts the server's certificate of this SHA-256 digest."),
         QStringLiteral("SHA256")},
        withSetUp);
}
