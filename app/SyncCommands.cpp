#include "app/SyncCommands.h"

#include "app/CommandLine.h"
#include "data/Database.h"
#include "data/DbError.h"
#include "data/SyncStore.h"
#include "sync/Credentials.h"
#include "sync/Discovery.h"
#include "sync/SyncRun.h"
#include "sync/SyncSettings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <cstdio>
#include <cstring>

namespace {

void say(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

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

const Discovery::AddressBook* named(const QList<Discovery::AddressBook>& books, const QString& name)
{
    for (const Discovery::AddressBook& book : books) {
        const QStringList parts = book.url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
        const QString last = parts.isEmpty() ? QString() : parts.last();
        if (book.name.compare(name, Qt::CaseInsensitive) == 0 || last.compare(name, Qt::CaseInsensitive) == 0 ||
            book.url.toString() == name)
            return &book;
    }
    return nullptr;
}

int setUp(const QUrl& server, const QString& user, const QString& password, const QString& personalName,
          const QString& businessName, const QString& certificate)
{
    DavClient client(server, user, password);
    client.setPinnedCertificate(certificate);
    const Discovery::Result found = Discovery::find(client, server);
    if (!found.error.isEmpty()) {
        say(stderr,
            QStringLiteral("The address books could not be found: %1\nNothing was changed.\n").arg(found.error));
        if (!client.untrustedCertificate().isEmpty())
            say(stderr, QStringLiteral("If that is the certificate of your server, set up again with "
                                       "--trust-certificate %1\n")
                            .arg(client.untrustedCertificate()));
        return 2;
    }
    SyncSettings settings;
    settings.certificate = DavClient::normalized(certificate);
    settings.server = server;
    settings.user = user;
    if (found.given) {
        settings.personal = settings.business = found.books.first().url;
    } else {
        const bool chosen = !personalName.isEmpty() || !businessName.isEmpty();
        const Discovery::AddressBook* personal =
            named(found.books, personalName.isEmpty() ? QStringLiteral("Personal") : personalName);
        const Discovery::AddressBook* business =
            named(found.books, businessName.isEmpty() ? QStringLiteral("Business") : businessName);
        QStringList missing; // books with no address book of their name, where the server has others
        if (!personal && personalName.isEmpty())
            missing << QStringLiteral("\"Personal\"");
        if (!business && businessName.isEmpty())
            missing << QStringLiteral("\"Business\"");
        if (!personal && !business && !chosen && found.books.size() == 1) {
            settings.personal = settings.business = found.books.first().url;
        } else if (!missing.isEmpty() && !found.books.isEmpty()) {
            // The user's own address books are never passed over for new empty ones without the user's word.
            QStringList names;
            for (const Discovery::AddressBook& book : found.books)
                names << QStringLiteral("\"%1\"").arg(book.name);
            say(stderr, QCoreApplication::translate("SyncCommands",
                                                    "The server has the address books %1, none of them for %2. Name "
                                                    "the address book of each book with --personal NAME and "
                                                    "--business NAME (the same one may take both books; a name the "
                                                    "server does not have is made there, empty).\nNothing was "
                                                    "changed.\n")
                            .arg(names.join(QStringLiteral(", ")), missing.join(QStringLiteral(" and "))));
            return 2;
        } else {
            QString error;
            settings.personal =
                personal ? personal->url
                         : Discovery::create(client, found.home,
                                             personalName.isEmpty() ? QStringLiteral("Personal") : personalName, error);
            if (error.isEmpty())
                settings.business =
                    business
                        ? business->url
                        : Discovery::create(client, found.home,
                                            businessName.isEmpty() ? QStringLiteral("Business") : businessName, error);
            if (!error.isEmpty()) {
                QStringList names;
                for (const Discovery::AddressBook& book : found.books)
                    names << QStringLiteral("\"%1\"").arg(book.name);
                say(stderr,
                    QStringLiteral("%1\nThe address books there: %2. Name them with --personal and --business "
                                   "(the same one takes both books).\nNothing was changed.\n")
                        .arg(error, names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "))));
                return 2;
            }
        }
    }
    const auto db = Database::open(CommandLine::workingDatabase());
    settings.write(*db);
    const Credentials::Kept kept = Credentials::store(SyncCommands::account(settings), password);
    if (settings.personal == settings.business)
        say(stdout, QStringLiteral("Both books sync with %1.\n").arg(settings.personal.toDisplayString()));
    else
        say(stdout, QStringLiteral("\"Personal\" syncs with %1.\n\"Business\" syncs with %2.\n")
                        .arg(settings.personal.toDisplayString(), settings.business.toDisplayString()));
    if (!kept.ok) {
        say(stderr, QStringLiteral("The password could not be kept (%1): give it with --sync --password-stdin.\n")
                        .arg(kept.note));
        return 1;
    }
    if (!kept.note.isEmpty())
        say(stdout,
            QStringLiteral("The password is kept in %1, readable by you alone: %2.\n").arg(kept.where, kept.note));
    else
        say(stdout, QStringLiteral("The password is kept in %1.\n").arg(kept.where));
    return 0;
}

} // namespace

bool SyncCommands::wanted(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--sync") == 0 || std::strncmp(argv[i], "--sync-setup", 12) == 0)
            return true;
    }
    return false;
}

QString SyncCommands::account(const SyncSettings& settings)
{
    return settings.account();
}

namespace {
DavTransport* s_transport = nullptr;
} // namespace

void SyncCommands::setTransportForTesting(DavTransport* transport)
{
    s_transport = transport;
}

SyncReport SyncCommands::syncFile(const QString& database, const QString& password, const SyncRun::Options& options)
{
    SyncReport report;
    try {
        const auto db = Database::open(database);
        try {
            SyncSettings::cleanStoredUserInfo(*db);
        } catch (const DbError&) {
            // A file that cannot be written now is cleaned at a later opening; the sync meets the same and says so.
        }
        const SyncSettings settings = SyncSettings::read(*db);
        if (!settings.isSet()) {
            report.error = QStringLiteral("no server is set up: use \"Sync Settings...\" or tovrin --sync-setup");
            report.notSetUp = true;
            return report;
        }
        const QString secret = password.isNull() ? Credentials::read(account(settings)) : password;
        if (secret.isNull()) {
            report.error =
                QStringLiteral("no password is kept for %1: set it up again, or give it with --password-stdin")
                    .arg(account(settings));
            return report;
        }
        DavClient client(settings.server, settings.user, secret, s_transport);
        client.setPinnedCertificate(settings.certificate);
        report = SyncRun(*db, client, settings, options).run();
        SyncStore::setSetting(*db, QStringLiteral("last_result"), report.summary());
        SyncStore::setSetting(*db, QStringLiteral("last_time"), QDateTime::currentDateTime().toString(Qt::ISODate));
    } catch (const DbError& error) {
        report.error = error.description();
    }
    return report;
}

QString SyncCommands::lastResult(Database& db)
{
    if (!SyncStore::prepared(db))
        return {};
    const QString when = SyncStore::setting(db, QStringLiteral("last_time"));
    if (when.isEmpty())
        return {};
    return QStringLiteral("Last sync %1: %2").arg(when, SyncStore::setting(db, QStringLiteral("last_result")));
}

int SyncCommands::run(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tovrin"));
    QCommandLineParser parser;
    const QCommandLineOption setup(QStringLiteral("sync-setup"),
                                   QStringLiteral("Sets up the sync with a CardDAV server."), QStringLiteral("URL"));
    const QCommandLineOption sync(QStringLiteral("sync"), QStringLiteral("Syncs both books with the server."));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("The user name on the server."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption passwordStdin(QStringLiteral("password-stdin"),
                                           QStringLiteral("Reads the password from standard input."));
    const QCommandLineOption personal(QStringLiteral("personal"), QStringLiteral("The address book of \"Personal\"."),
                                      QStringLiteral("NAME"));
    const QCommandLineOption business(QStringLiteral("business"), QStringLiteral("The address book of \"Business\"."),
                                      QStringLiteral("NAME"));
    const QCommandLineOption trust(QStringLiteral("trust-certificate"),
                                   QStringLiteral("Accepts the server's certificate of this SHA-256 digest."),
                                   QStringLiteral("SHA256"));
    const QCommandLineOption forceDelete(
        QStringLiteral("force-delete"),
        QCoreApplication::translate("SyncCommands",
                                    "Deletes here the entries the server no longer lists, however many."));
    parser.addOptions({setup, sync, user, passwordStdin, personal, business, trust, forceDelete});
    if (!parser.parse(QCoreApplication::arguments())) {
        say(stderr, parser.errorText() + QLatin1Char('\n'));
        return 2;
    }
    try {
        if (parser.isSet(setup)) {
            // A user name and password written into the address are taken from it, and never stored with it; the
            // options, when given, have the last word.
            QUrl server = QUrl::fromUserInput(parser.value(setup));
            QString name, password;
            SyncSettings::takeUserInfo(server, name, password);
            if (parser.isSet(user))
                name = parser.value(user);
            if (name.isEmpty()) {
                say(stderr, QStringLiteral("--sync-setup needs --user NAME.\n"));
                return 2;
            }
            if (parser.isSet(passwordStdin)) {
                password = readPassword();
            } else if (password.isEmpty()) {
                say(stderr, QStringLiteral("Give the password on standard input with --password-stdin.\n"));
                return 2;
            }
            const int code =
                setUp(server, name, password, parser.value(personal), parser.value(business), parser.value(trust));
            if (code == 2 || !parser.isSet(sync))
                return code;
        }
        SyncRun::Options options;
        options.forceDelete = parser.isSet(forceDelete);
        const SyncReport report =
            syncFile(CommandLine::workingDatabase(),
                     parser.isSet(passwordStdin) && !parser.isSet(setup) ? readPassword() : QString(), options);
        say(report.exitCode() == 2 ? stderr : stdout, report.summary() + QLatin1Char('\n'));
        if (!report.held.isEmpty())
            say(stderr,
                QCoreApplication::translate("SyncCommands", "To delete them here as well (a copy of the "
                                                            "file is kept first): tovrin --sync --force-delete\n"));
        return report.exitCode();
    } catch (const DbError& error) {
        say(stderr, error.description() + QLatin1Char('\n'));
        return 2;
    }
}
