#pragma once

#include <QString>

// The sync password, outside the directory file: in the desktop keyring when the program is built with
// qtkeychain and a keyring answers; else in a file of the user's own (0600) in the program's configuration folder,
// which the caller tells the user about. TOVRIN_CREDENTIALS, when set, names that file and the keyring is not
// asked (tests, machines without a desktop session).
namespace Credentials {

struct Kept
{
    bool ok = false;
    QString where; // "the desktop keyring" or the file's path
    QString note;  // why the keyring was not used; empty when it was
};

Kept store(const QString& account, const QString& password);
// The password kept for `account`; null when there is none.
QString read(const QString& account);

} // namespace Credentials
