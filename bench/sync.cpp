// The sync at scale: a first sync of 1,000 cards from a loopback Radicale whose storage was seeded before it
// started, an incremental sync after one card changed there, and a sync with nothing to do on either side of an
// address book of 10,000 cards, and a sync with nothing to do of a message log of 10,000 messages with its task list,
// each beside curl sending the same requests in the same run (the server's own cost). Medians of three.
#include "data/Database.h"
#include "data/SyncStore.h"
#include "sync/DavClient.h"
#include "sync/DavXml.h"
#include "sync/MessageTask.h"
#include "sync/SyncRun.h"
#include "sync/SyncSettings.h"
#include "sync/TaskSync.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kCards = 1000;
constexpr int kQuietCards = 10000;
constexpr int kRounds = 3;

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray card(int i, int version)
{
    return QStringLiteral(
               "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:card-%1\r\nFN:Given%1 Family%1\r\nN:Family%1;Given%1;;;\r\n"
               "TEL;TYPE=CELL:050%2\r\nTEL;TYPE=HOME:03%3\r\nEMAIL:person%1@example.org\r\n"
               "ADR;TYPE=HOME:;;%1 Main St;City %4;;33000;Israel\r\nNOTE:version %4\r\nEND:VCARD\r\n")
        .arg(i)
        .arg(1000000 + i, 7, 10, QLatin1Char('0'))
        .arg(5000000 + i, 7, 10, QLatin1Char('0'))
        .arg(version)
        .toUtf8();
}

QByteArray task(int i)
{
    MessageTask::Message message;
    message.date = QStringLiteral("2026-03-%1").arg(1 + i % 28, 2, 10, QLatin1Char('0'));
    message.time = QStringLiteral("10:%1:00").arg(i % 60, 2, 10, QLatin1Char('0'));
    message.from = QStringLiteral("Caller %1").arg(i);
    message.to = QStringLiteral("Desk %1").arg(i % 20);
    message.text = QStringLiteral("Please call back about order %1").arg(i);
    message.uid = QStringLiteral("task-%1").arg(i);
    return MessageTask::created(message, QDateTime(QDate(2026, 3, 1), QTime(9, 0)));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// curl with the same method, headers and body; the time of the whole request, process start included.
double curl(const QString& url, const char* method, const QByteArray& body, const QStringList& headers,
            QByteArray* answer = nullptr)
{
    QStringList arguments{QStringLiteral("-s"), QStringLiteral("-u"), QStringLiteral("alice:secret"),
                          QStringLiteral("-X"), QLatin1String(method)};
    for (const QString& header : headers)
        arguments << QStringLiteral("-H") << header;
    if (!body.isEmpty())
        arguments << QStringLiteral("--data-binary") << QStringLiteral("@-");
    arguments << url;
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(QStringLiteral("curl"), arguments);
    process.write(body);
    process.closeWriteChannel();
    process.waitForFinished(-1);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (answer)
        *answer = process.readAllStandardOutput();
    return ms;
}

// A message log of kQuietCards messages synced once from its task list, then synced with nothing to do beside curl's
// one request; false when a sync went wrong.
bool quietMessages(const QString& base, const QStringList& xml, std::vector<double>& curlQuiet,
                   std::vector<double>& syncQuiet)
{
    const QString list = base + QStringLiteral("/alice/messages/");
    QTemporaryDir desk;
    const QString path = desk.filePath(QStringLiteral("Dalvek.mdb"));
    Database::create(path);
    const auto db = Database::open(path);
    DavClient client(QUrl(base + QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"));
    client.setTimeout(600000);
    curl(list, "REPORT", DavXml::syncCollection(QString()), xml);
    QElapsedTimer timer;
    timer.start();
    SyncReport first;
    TaskSync(*db, client, QUrl(list), SyncRun::Options(), first).run();
    if (first.received != kQuietCards || !first.error.isEmpty()) {
        std::fprintf(stderr, "The first sync of the task list went wrong: %s\n", qPrintable(first.summary()));
        return false;
    }
    std::printf("(first sync of %d tasks: %.0f ms)\n", kQuietCards, double(timer.nsecsElapsed()) / 1e6);
    for (int round = 0; round < kRounds; ++round) {
        curlQuiet.push_back(curl(list, "REPORT", DavXml::syncCollection(TaskStore::token(*db, list)), xml));
        timer.restart();
        SyncReport none;
        TaskSync(*db, client, QUrl(list), SyncRun::Options(), none).run();
        syncQuiet.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (none.received != 0 || none.sent != 0 || !none.error.isEmpty()) {
            std::fprintf(stderr, "The task sync with nothing to do did something: %s\n", qPrintable(none.summary()));
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString root = dir.path();
    const QString books = root + QStringLiteral("/collections/collection-root/alice/");
    write(root + QStringLiteral("/users"), "alice:secret\n");
    for (const char* book : {"personal", "business", "large"})
        write(books + QLatin1String(book) + QStringLiteral("/.Radicale.props"), "{\"tag\": \"VADDRESSBOOK\"}");
    for (int i = 0; i < kCards; ++i)
        write(books + QStringLiteral("personal/card-%1.vcf").arg(i), card(i, 1));
    for (int i = 0; i < kQuietCards; ++i)
        write(books + QStringLiteral("large/card-%1.vcf").arg(i), card(i, 1));
    write(books + QStringLiteral("messages/.Radicale.props"),
          "{\"tag\": \"VCALENDAR\", \"C:supported-calendar-component-set\": \"VTODO\"}");
    for (int i = 0; i < kQuietCards; ++i)
        write(books + QStringLiteral("messages/task-%1.ics").arg(i), task(i));
    write(root + QStringLiteral("/config"),
          QStringLiteral("[server]\nhosts = 127.0.0.1:0\n[auth]\ntype = htpasswd\n"
                         "htpasswd_filename = %1/users\nhtpasswd_encryption = plain\n"
                         "[rights]\ntype = owner_only\n[storage]\n"
                         "filesystem_folder = %1/collections\n[logging]\nlevel = info\n")
              .arg(root)
              .toUtf8());
    QProcess radicale;
    radicale.setProcessChannelMode(QProcess::MergedChannels);
    radicale.setStandardOutputFile(root + QStringLiteral("/log"));
    radicale.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-m"), QStringLiteral("radicale"),
                                                        QStringLiteral("-C"), root + QStringLiteral("/config")});
    int port = 0;
    for (int i = 0; i < 300 && port == 0; ++i) {
        QThread::msleep(50);
        QFile log(root + QStringLiteral("/log"));
        log.open(QIODevice::ReadOnly);
        const auto match = QRegularExpression(QStringLiteral(":(\\d+)'")).match(QString::fromUtf8(log.readAll()));
        port = match.hasMatch() ? match.captured(1).toInt() : 0;
    }
    if (port == 0) {
        QFile log(root + QStringLiteral("/log"));
        log.open(QIODevice::ReadOnly);
        std::fprintf(stderr, "Radicale did not start (apt-get install radicale): %s\n", log.readAll().constData());
        return 2;
    }
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(port);
    const QString personal = base + QStringLiteral("/alice/personal/");
    const SyncSettings settings{QUrl(base + QStringLiteral("/")), QStringLiteral("alice"), QUrl(personal),
                                QUrl(base + QStringLiteral("/alice/business/")), QString()};
    const QStringList xml{QStringLiteral("Content-Type: application/xml; charset=utf-8"), QStringLiteral("Depth: 1")};
    QStringList hrefs;
    for (int i = 0; i < kCards; ++i)
        hrefs << QStringLiteral("/alice/personal/card-%1.vcf").arg(i);

    // The server reads its seeded storage once, whoever asks first.
    curl(personal, "REPORT", DavXml::syncCollection(QString()), xml);

    std::vector<double> curlFirst, syncFirst, curlNext, syncNext;
    for (int round = 0; round < kRounds; ++round) {
        // What a first sync asks: the changes since nothing, then the cards a hundred at a time.
        double ms = curl(personal, "REPORT", DavXml::syncCollection(QString()), xml) +
                    curl(base + QStringLiteral("/alice/business/"), "REPORT", DavXml::syncCollection(QString()), xml);
        for (int from = 0; from < kCards; from += 100)
            ms += curl(personal, "REPORT", DavXml::multiget(hrefs.mid(from, 100)), xml);
        curlFirst.push_back(ms);

        QTemporaryDir desk;
        const QString path = desk.filePath(QStringLiteral("Dalvek.mdb"));
        Database::create(path);
        const auto db = Database::open(path);
        DavClient client(settings.server, settings.user, QStringLiteral("secret"));
        QElapsedTimer timer;
        timer.start();
        const SyncReport first = SyncRun(*db, client, settings).run();
        syncFirst.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (first.received != kCards || !first.error.isEmpty()) {
            std::fprintf(stderr, "The first sync went wrong: %s\n", qPrintable(first.summary()));
            return 1;
        }

        // One card changed on the server: the changes since the token, and that card.
        const QString token = SyncStore::token(*db, personal);
        curl(personal + QStringLiteral("card-7.vcf"), "PUT", card(7, 2 + round),
             {QStringLiteral("Content-Type: text/vcard")});
        QByteArray answer;
        ms = curl(personal, "REPORT", DavXml::syncCollection(token), xml, &answer) +
             curl(base + QStringLiteral("/alice/business/"), "REPORT",
                  DavXml::syncCollection(SyncStore::token(*db, base + QStringLiteral("/alice/business/"))), xml) +
             curl(personal, "REPORT", DavXml::multiget({hrefs.at(7)}), xml);
        curlNext.push_back(ms);
        // The same change again for the sync itself.
        curl(personal + QStringLiteral("card-7.vcf"), "PUT", card(7, 100 + round),
             {QStringLiteral("Content-Type: text/vcard")});
        timer.restart();
        const SyncReport next = SyncRun(*db, client, settings).run();
        syncNext.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (next.received != 1 || next.sent != 0 || !next.error.isEmpty()) {
            std::fprintf(stderr, "The incremental sync went wrong: %s\n", qPrintable(next.summary()));
            return 1;
        }
    }
    // Nothing changed on either side: the changes since each token, and nothing else.
    std::vector<double> curlQuiet, syncQuiet;
    {
        const QString large = base + QStringLiteral("/alice/large/");
        const QString business = base + QStringLiteral("/alice/business/");
        const SyncSettings quiet{QUrl(base + QStringLiteral("/")), QStringLiteral("alice"), QUrl(large), QUrl(business),
                                 QString()};
        QTemporaryDir desk;
        const QString path = desk.filePath(QStringLiteral("Dalvek.mdb"));
        Database::create(path);
        const auto db = Database::open(path);
        DavClient client(quiet.server, quiet.user, QStringLiteral("secret"));
        // The server reads 10,000 seeded cards once, and a loaded machine makes that slow.
        client.setTimeout(600000);
        curl(large, "REPORT", DavXml::syncCollection(QString()), xml);
        QElapsedTimer timer;
        timer.start();
        const SyncReport first = SyncRun(*db, client, quiet).run();
        const double firstMs = double(timer.nsecsElapsed()) / 1e6;
        if (first.received != kQuietCards || !first.error.isEmpty()) {
            std::fprintf(stderr, "The first sync of the large address book went wrong: %s\n",
                         qPrintable(first.summary()));
            return 1;
        }
        std::printf("(first sync of %d cards: %.0f ms)\n", kQuietCards, firstMs);
        for (int round = 0; round < kRounds; ++round) {
            curlQuiet.push_back(curl(large, "REPORT", DavXml::syncCollection(SyncStore::token(*db, large)), xml) +
                                curl(business, "REPORT", DavXml::syncCollection(SyncStore::token(*db, business)), xml));
            timer.restart();
            const SyncReport none = SyncRun(*db, client, quiet).run();
            syncQuiet.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (none.received != 0 || none.sent != 0 || !none.error.isEmpty()) {
                std::fprintf(stderr, "The sync with nothing to do did something: %s\n", qPrintable(none.summary()));
                return 1;
            }
        }
    }
    std::vector<double> curlMessages, syncMessages;
    if (!quietMessages(base, xml, curlMessages, syncMessages))
        return 1;
    radicale.terminate();
    radicale.waitForFinished();

    std::printf("Sync with a loopback Radicale, %d cards (medians of %d):\n", kCards, kRounds);
    std::printf("| sync | Tovrin | curl, same requests | Tovrin's own part |\n|---|---|---|---|\n");
    std::printf("| first, %d cards | %.0f ms | %.0f ms | %.0f ms |\n", kCards, median(syncFirst), median(curlFirst),
                median(syncFirst) - median(curlFirst));
    std::printf("| incremental, one card changed | %.0f ms | %.0f ms | %.0f ms |\n", median(syncNext), median(curlNext),
                median(syncNext) - median(curlNext));
    std::printf("| nothing to do, %d cards | %.0f ms | %.0f ms | %.0f ms |\n", kQuietCards, median(syncQuiet),
                median(curlQuiet), median(syncQuiet) - median(curlQuiet));
    std::printf("| nothing to do, %d messages | %.0f ms | %.0f ms | %.0f ms |\n", kQuietCards, median(syncMessages),
                median(curlMessages), median(syncMessages) - median(curlMessages));
    std::printf("Nothing to do: %.2f times curl's time; messages: %.2f times.\n", median(syncQuiet) / median(curlQuiet),
                median(syncMessages) / median(curlMessages));
    return 0;
}
