#include "sync/SyncFile.h"

#include "data/Database.h"
#include "data/DbError.h"
#include "data/SyncStore.h"
#include "sync/Credentials.h"
#include "sync/SyncSettings.h"
#include "sync/TaskSync.h"

#include <QCoreApplication>
#include <QDateTime>

namespace {
DavTransport* s_transport = nullptr;
} // namespace

void SyncFile::setTransportForTesting(DavTransport* transport)
{
    s_transport = transport;
}

DavTransport* SyncFile::transport()
{
    return s_transport;
}

SyncReport SyncFile::run(const QString& database, const QString& password, const SyncRun::Options& options)
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
            report.error = QCoreApplication::translate(
                "SyncFile", "no server is set up: use \"Sync Settings...\" or tovrin --sync-setup");
            report.notSetUp = true;
            return report;
        }
        const QString secret = password.isNull() ? Credentials::read(settings.account()) : password;
        if (secret.isNull()) {
            report.error =
                QCoreApplication::translate(
                    "SyncFile", "no password is kept for %1: set it up again, or give it with --password-stdin")
                    .arg(settings.account());
            return report;
        }
        DavClient client(settings.server, settings.user, secret, s_transport);
        client.setPinnedCertificate(settings.certificate);
        report = SyncRun(*db, client, settings, options).run();
        // The message log after the address books, into the same report.
        if (!settings.tasks.isEmpty())
            TaskSync(*db, client, settings.tasks, options, report).run();
        SyncStore::setSetting(*db, QStringLiteral("last_result"), report.summary());
        SyncStore::setSetting(*db, QStringLiteral("last_time"), QDateTime::currentDateTime().toString(Qt::ISODate));
    } catch (const DbError& error) {
        report.error = error.description();
    }
    return report;
}

QString SyncFile::lastResult(Database& db)
{
    if (!SyncStore::prepared(db))
        return {};
    const QString when = SyncStore::setting(db, QStringLiteral("last_time"));
    if (when.isEmpty())
        return {};
    return QCoreApplication::translate("SyncFile", "Last sync %1: %2")
        .arg(when, SyncStore::setting(db, QStringLiteral("last_result")));
}
