#include "SyncSettings.h"

#include "Database.h"
#include "SyncStore.h"

SyncSettings SyncSettings::read(Database& db)
{
    SyncSettings settings;
    if (!SyncStore::prepared(db))
        return settings;
    settings.server = QUrl(SyncStore::setting(db, QStringLiteral("server")));
    settings.user = SyncStore::setting(db, QStringLiteral("user"));
    settings.personal = QUrl(SyncStore::setting(db, QStringLiteral("personal")));
    settings.business = QUrl(SyncStore::setting(db, QStringLiteral("business")));
    settings.certificate = SyncStore::setting(db, QStringLiteral("certificate"));
    return settings;
}

void SyncSettings::write(Database& db) const
{
    db.transaction([&] {
        SyncStore::prepare(db);
        SyncStore::setSetting(db, QStringLiteral("server"), server.toString());
        SyncStore::setSetting(db, QStringLiteral("user"), user);
        SyncStore::setSetting(db, QStringLiteral("personal"), personal.toString());
        SyncStore::setSetting(db, QStringLiteral("business"), business.toString());
        SyncStore::setSetting(db, QStringLiteral("certificate"), certificate);
    });
}
