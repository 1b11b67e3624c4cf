#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// What one sync did, for the command line, "Sync Now..." and About.
struct SyncReport
{
    int received = 0;      // entries added or changed here from the server
    int removedHere = 0;   // entries deleted here because the server deleted their cards
    int sent = 0;          // cards created or changed on the server
    int removedThere = 0;  // cards deleted on the server
    QStringList lines;     // what the user must know: conflicts, cards refused, entries brought back
    // Deletions here held back for the user's word: of each address book, nothing was written.
    struct Held
    {
        QString book;  // the address book as the settings keep it
        QString books; // which of the directory's books it holds ("Personal", "Business" or both)
        int count = 0; // entries here whose cards the server no longer lists
    };
    QList<Held> held;
    // Open messages a sync brought to the log (new here, or open again), for the desktop's notice.
    struct Arrived
    {
        qint64 message = -1; // tblMes rowid
        QString from;
        QString to;
    };
    QList<Arrived> arrived;
    QString error;         // what stopped the sync (or a part of it); empty when it ran through
    bool notSetUp = false; // no server is set up: nothing was tried

    // 0 all done, 1 something reported, 2 an error or deletions held back.
    int exitCode() const { return !error.isEmpty() || !held.isEmpty() ? 2 : lines.isEmpty() ? 0 : 1; }
    // What a held deletion says.
    static QString heldLine(const Held& held)
    {
        return (held.count == 1
                    ? QCoreApplication::translate("SyncReport", "1 entry of %1 is no longer on the server (%2): it "
                                                                "was not deleted here, and nothing of that address "
                                                                "book was written.")
                    : QCoreApplication::translate("SyncReport",
                                                  "%n entries of %1 are no longer on the server (%2): "
                                                  "nothing was deleted here, and nothing of that address "
                                                  "book was written.",
                                                  nullptr, held.count))
            .arg(held.books, QUrl(held.book).toDisplayString());
    }
    QString summary() const
    {
        QString text = QCoreApplication::translate("SyncReport",
                                                   "%1 received, %2 deleted here, %3 sent, %4 deleted on the server.")
                           .arg(received)
                           .arg(removedHere)
                           .arg(sent)
                           .arg(removedThere);
        for (const QString& line : lines)
            text += QLatin1Char('\n') + line;
        for (const Held& one : held)
            text += QLatin1Char('\n') + heldLine(one);
        if (!error.isEmpty())
            text += QLatin1Char('\n') + QCoreApplication::translate("SyncReport", "Error: %1").arg(error);
        return text;
    }
};
