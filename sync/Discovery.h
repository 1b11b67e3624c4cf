#pragma once

#include "sync/DavClient.h"

#include <QList>
#include <QString>
#include <QUrl>

// Finds the address books of a user from the address the user gave: that address itself when it is an address
// book, else the user's principal (from that address, or /.well-known/carddav on its host), its
// addressbook-home-set and the address books in it, with their names.
class Discovery
{
public:
    struct AddressBook
    {
        QUrl url;
        QString name; // the display name, else the last part of the path
    };
    struct Result
    {
        QList<AddressBook> books;
        bool given = false; // the address given is an address book: it takes both books
        QUrl home;          // where new address books are made; empty when unknown
        QString error;
    };

    static Result find(DavClient& client, const QUrl& start);
    // Makes an address book named `name` in `home`; returns its address, or an empty one with `error` set.
    static QUrl create(DavClient& client, const QUrl& home, const QString& name, QString& error);

    // The task lists of the same user: the calendars in the principal's calendar-home-set that hold tasks (VTODO),
    // found from the same address as find() (or /.well-known/caldav on its host). Calendars of events alone are
    // left out. `books` holds the task lists, `home` where new ones are made.
    static Result findTaskLists(DavClient& client, const QUrl& start);
    // Makes a task list named `name` in `home` (MKCALENDAR); returns its address, or an empty one with `error` set.
    static QUrl createTaskList(DavClient& client, const QUrl& home, const QString& name, QString& error);
};
