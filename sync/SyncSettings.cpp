#include "sync/SyncSettings.h"

#include "data/Database.h"
#include "data/SyncStore.h"
#include "sync/Credentials.h"

namespace {

QUrl withoutUserInfo(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveUserInfo);
}

} // namespace

QString SyncSettings::account() const
{
    return user + QLatin1Char('@') + server.host() +
           (server.port() > 0 ? QLatin1Char(':') + QString::number(server.port()) : QString());
}

SyncSettings SyncSettings::read(Database& db)
{
    SyncSettings settings;
    if (!SyncStore::prepared(db))
        return settings;
    settings.server = withoutUserInfo(QUrl(SyncStore::setting(db, QStringLiteral("server"))));
    settings.user = SyncStore::setting(db, QStringLiteral("user"));
    settings.personal = withoutUserInfo(QUrl(SyncStore::setting(db, QStringLiteral("personal"))));
    settings.business = withoutUserInfo(QUrl(SyncStore::setting(db, QStringLiteral("business"))));
    settings.tasks = withoutUserInfo(QUrl(SyncStore::setting(db, QStringLiteral("tasks"))));
    settings.certificate = SyncStore::setting(db, QStringLiteral("certificate"));
    return settings;
}

void SyncSettings::write(Database& db) const
{
    db.transaction([&] {
        SyncStore::prepare(db);
        SyncStore::setSetting(db, QStringLiteral("server"), withoutUserInfo(server).toString());
        SyncStore::setSetting(db, QStringLiteral("user"), user);
        SyncStore::setSetting(db, QStringLiteral("personal"), withoutUserInfo(personal).toString());
        SyncStore::setSetting(db, QStringLiteral("business"), withoutUserInfo(business).toString());
        SyncStore::setSetting(db, QStringLiteral("tasks"), withoutUserInfo(tasks).toString());
        SyncStore::setSetting(db, QStringLiteral("certificate"), certificate);
    });
}

void SyncSettings::takeUserInfo(QUrl& address, QString& user, QString& password)
{
    if (!address.userName().isEmpty())
        user = address.userName();
    if (!address.password().isEmpty())
        password = address.password();
    address = withoutUserInfo(address);
}

void SyncSettings::cleanStoredUserInfo(Database& db)
{
    if (!SyncStore::prepared(db))
        return;
    const QStringList names{QStringLiteral("server"), QStringLiteral("personal"), QStringLiteral("business"),
                            QStringLiteral("tasks")};
    QList<QUrl> stored;
    QString user, password;
    bool found = false;
    for (const QString& name : names) {
        stored << QUrl(SyncStore::setting(db, name));
        found = found || !stored.last().userInfo().isEmpty();
        QUrl address = stored.last();
        takeUserInfo(address, user, password);
    }
    if (!found)
        return;
    SyncSettings settings = read(db);
    if (settings.user.isEmpty())
        settings.user = user;
    if (!password.isEmpty() && Credentials::read(settings.account()).isNull() &&
        !Credentials::store(settings.account(), password).ok)
        return;
    SyncStore::erasing(db, [&] {
        settings.write(db);
        for (const QUrl& address : stored) {
            if (!address.userInfo().isEmpty())
                SyncStore::renameBook(db, address.toString(), withoutUserInfo(address).toString());
        }
    });
}
