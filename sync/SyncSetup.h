#pragma once

#include "sync/Credentials.h"
#include "sync/Discovery.h"

#include <QList>
#include <QString>

class Database;
struct SyncSettings;

// The set-up of the sync as the command line's --sync-setup and the "Sync Settings..." dialog both make it: which
// address book each book syncs with, and where the settings and the password are kept.
namespace SyncSetup {

// The address book a book takes.
struct Pick
{
    int found = -1; // an address book discovery found (an index into its books); -1: none of them
    QString create; // else the name of one to make; empty too: the user has to choose
};
struct Choice
{
    Pick personal;
    Pick business;
};

// The address book called `name`: by the name discovery gives it or the last part of its address, letter case
// ignored, or by its whole address. Null when there is none.
const Discovery::AddressBook* named(const QList<Discovery::AddressBook>& books, const QString& name);

// Each book gets the address book named for it (`personalName`, `businessName`; when empty, the book's own name),
// or both the address given when it is one, or both the only one there is when none was named. A name the user gave
// that the server lacks is made there, and so are the books' own names on a server without address books; while
// the server has address books of other names none is made unasked: the user has to choose.
Choice choose(const Discovery::Result& found, const QString& personalName = QString(),
              const QString& businessName = QString());

// The task list the message log takes: the one called `name` (as named() finds it; "Messages" when empty), else
// one of that name to make.
Pick chooseTaskList(const QList<Discovery::AddressBook>& lists, const QString& name = QString());

// Keeps the settings in the directory file and the password outside it (see Credentials). Throws DbError when the
// file cannot take the settings; the password is then not kept either.
Credentials::Kept keep(Database& db, const SyncSettings& settings, const QString& password);

} // namespace SyncSetup
