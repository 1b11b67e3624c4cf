// Saves entries and messages into a database file in a loop, the way the entry and message windows save them,
// and prints each one's identity once Update has returned. The crash and two-copies tests run it, kill it and
// look for every printed row in the file.
//
//   tovrin_saver <database file> <saves> <tag>
//
// Saves alternate between an entry (Fname = tag, Lname = "tag-n") and a message (Avur = tag, Meet = "tag-n");
// the lines printed are "T tag-n" and "M tag-n". Exit code 0 when all were saved, 2 after a DbError (its
// description on stderr).
#include "TypedEntry.h"
#include "data/DataControl.h"

#include <QCoreApplication>
#include <QLocale>
#include <cstdio>

namespace {

QString bodyOf(int n)
{
    // Now and then a message long enough for pages of its own, so a kill can land in the middle of writing them.
    const QString line = QStringLiteral("התקשר בעניין הדירה, call back 😀 %1. ").arg(n);
    return line.repeated(n % 7 == 0 ? 200 : 1 + n % 3);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool countOk = false;
    const int saves = args.value(2).toInt(&countOk);
    const QString tag = args.value(3);
    if (args.size() != 4 || !countOk || tag.isEmpty() || tag.size() > 15) {
        std::fprintf(stderr, "usage: tovrin_saver <database file> <saves> <tag of at most 15 characters>\n");
        return 1;
    }
    QLocale::setDefault(QLocale(QStringLiteral("en_GB")));

    try {
        for (int n = 0; n < saves; ++n) {
            const QString identity = QStringLiteral("%1-%2").arg(tag).arg(n);
            // Each save is a visit to a window: it is made, loads its data control (a connection of its own),
            // the user types, Save stores the row and re-reads, and the window goes.
            DataControl datTel;
            datTel.setDatabaseName(args.at(1));
            if (n % 2 == 0) {
                datTel.setRecordSource(QStringLiteral("SELECT * FROM tblTel"));
                datTel.Refresh();
                Recordset* rs = datTel.Recordset();
                typeEntry(rs, tag, identity, QStringLiteral("04 - 555%1").arg(n % 10000, 4, 10, QLatin1Char('0')));
                rs->Update();
                std::printf("T %s\n", qPrintable(identity));
            } else {
                datTel.setRecordSource(QStringLiteral("SELECT * FROM tblMes ORDER BY Cdate DESC"));
                datTel.Refresh();
                Recordset* rs = datTel.Recordset();
                rs->AddNew();
                rs->setCollect(QStringLiteral("Meet"), identity);
                rs->setCollect(QStringLiteral("Avur"), tag);
                rs->setCollect(QStringLiteral("CDate"), QStringLiteral("15/06/26"));
                rs->setCollect(QStringLiteral("Ctime"),
                               QStringLiteral("10:%1:00").arg(n % 60, 2, 10, QLatin1Char('0')));
                rs->setCollect(QStringLiteral("Hodaa"), bodyOf(n));
                rs->Update();
                std::printf("M %s\n", qPrintable(identity));
            }
            std::fflush(stdout);
            datTel.Refresh();
        }
    } catch (const DbError& error) {
        std::fprintf(stderr, "%d %s\n", error.number(), qPrintable(error.description()));
        return 2;
    }
    return 0;
}
