#pragma once

#include <QString>
#include <QUrl>

class Database;

// Where the books sync to, as kept in the directory file (never the password).
struct SyncSettings
{
    QUrl server; // the address the user gave
    QString user;
    QUrl personal; // the address book of each book; the same one for both when the server has one
    QUrl business;
    QString certificate; // SHA-256 of a certificate the system does not trust and the user accepted; else empty

    bool isSet() const { return personal.isValid() && business.isValid() && !personal.isEmpty(); }
    static SyncSettings read(Database& db);
    void write(Database& db) const;
};
