#pragma once

#include <QString>
#include <QStringList>

// What one sync did, for the command line, "Sync Now..." and About.
struct SyncReport
{
    int received = 0;      // entries added or changed here from the server
    int removedHere = 0;   // entries deleted here because the server deleted their cards
    int sent = 0;          // cards created or changed on the server
    int removedThere = 0;  // cards deleted on the server
    QStringList lines;     // what the user must know: conflicts, cards refused, entries brought back
    QString error;         // what stopped the sync (or a part of it); empty when it ran through
    bool notSetUp = false; // no server is set up: nothing was tried

    // 0 all done, 1 something reported, 2 an error.
    int exitCode() const { return !error.isEmpty() ? 2 : lines.isEmpty() ? 0 : 1; }
    QString summary() const
    {
        QString text = QStringLiteral("%1 received, %2 deleted here, %3 sent, %4 deleted on the server.")
                           .arg(received)
                           .arg(removedHere)
                           .arg(sent)
                           .arg(removedThere);
        for (const QString& line : lines)
            text += QLatin1Char('\n') + line;
        if (!error.isEmpty())
            text += QStringLiteral("\nError: ") + error;
        return text;
    }
};
