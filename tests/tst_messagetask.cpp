#include "exchange/ContentLine.h"
#include "sync/MessageTask.h"

#include <QtTest>
#include <ctime>

// A message of the log as a task on a server, without a server: what one desk writes must come back to another as
// the very five columns and state, a phone's task must make a sensible message, and an edit must leave every line
// it does not own as the server had it. The test runs in the zone Asia/Jerusalem.
namespace {

using Message = MessageTask::Message;

const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 0), QTimeZone::utc());

// date|time|from|to|text|done|doneAt|doneBy|callBack|urgent, "\n" in the text as "~"
QString shown(const std::optional<Message>& m)
{
    if (!m)
        return QStringLiteral("(no message)");
    return QStringList{m->date,
                       m->time,
                       m->from,
                       m->to,
                       QString(m->text).replace(QLatin1Char('\n'), QLatin1Char('~')),
                       m->done ? QStringLiteral("done") : QStringLiteral("open"),
                       m->doneAt.isValid() ? m->doneAt.toUTC().toString(Qt::ISODate) : QString(),
                       m->doneBy,
                       m->callBack ? QStringLiteral("call back") : QString(),
                       m->urgent ? QStringLiteral("urgent") : QString()}
        .join(QLatin1Char('|'));
}

Message message(const QString& date, const QString& time, const QString& from, const QString& to, const QString& text)
{
    Message m;
    m.date = date;
    m.time = time;
    m.from = from;
    m.to = to;
    m.text = text;
    m.uid = QStringLiteral("msg-1");
    return m;
}

QByteArray task(const QByteArray& lines)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//Tasks//EN\r\nBEGIN:VTODO\r\nUID:phone-1\r\n"
           "DTSTAMP:20261201T080000Z\r\n" +
           lines + "END:VTODO\r\nEND:VCALENDAR\r\n";
}

// The property name a raw line starts with.
QByteArray nameOf(const QByteArray& raw)
{
    qsizetype end = 0;
    while (end < raw.size() && raw.at(end) != ':' && raw.at(end) != ';')
        ++end;
    return raw.left(end).trimmed().toUpper();
}

} // namespace

Q_DECLARE_METATYPE(MessageTask::Message)

class tst_MessageTask : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void writtenInLocalTime();
    void tasksFromElsewhere_data();
    void tasksFromElsewhere();
    void editsRewriteOnlyTheirLines_data();
    void editsRewriteOnlyTheirLines();
};

void tst_MessageTask::initTestCase()
{
    // A zone that changes its clocks, whatever the machine's.
    qputenv("TZ", "Asia/Jerusalem");
    tzset();
    QCOMPARE(QTimeZone::systemTimeZoneId(), QByteArray("Asia/Jerusalem"));
}

void tst_MessageTask::roundTrip_data()
{
    QTest::addColumn<Message>("sent");
    QTest::addColumn<QString>("summary"); // as a phone's task list shows it

    const QString date = QStringLiteral("2026-12-08");
    const QString time = QStringLiteral("14:30:00");
    QTest::newRow("plain") << message(date, time, QStringLiteral("Avi Cohen"), QStringLiteral("Dana"),
                                      QStringLiteral("Please call about the invoice"))
                           << QStringLiteral("Message for Dana from Avi Cohen");
    QTest::newRow("escaped characters") << message(date, time, QStringLiteral("Levin, Avi; \\office\\"),
                                                   QStringLiteral("Dana; Ruth, Moshe"),
                                                   QStringLiteral("a,b;c\\d\\ne: \"x\""))
                                        << QStringLiteral("Message for Dana; Ruth, Moshe from Levin, Avi; \\office\\");
    QTest::newRow("line breaks and spaces kept exactly")
        << message(date, time, QStringLiteral("  Avi  "), QStringLiteral("Dana  Ruth"),
                   QStringLiteral("first line\n\n  indented\nlast "))
        << QStringLiteral("Message for Dana Ruth from Avi");
    QTest::newRow("names that look like the summary's words")
        << message(date, time, QStringLiteral("Avi from HR"), QStringLiteral("Dana from sales"), QString())
        << QStringLiteral("Message for Dana from sales from Avi from HR");
    QTest::newRow("long Hebrew text, folded")
        << message(date, time, QStringLiteral("אבי כהן"), QStringLiteral("דנה"),
                   QStringLiteral("נא להתקשר בהקדם בעניין החשבונית של חודש נובמבר, ").repeated(6))
        << QStringLiteral("Message for דנה from אבי כהן");
    QTest::newRow("empty fields, no date")
        << message(QString(), QString(), QString(), QString(), QString()) << QStringLiteral("Message");
    QTest::newRow("no sender") << message(date, QString(), QString(), QStringLiteral("Dana"), QStringLiteral("x"))
                               << QStringLiteral("Message for Dana");
    QTest::newRow("a time the clocks skip here") << message(QStringLiteral("2026-03-27"), QStringLiteral("02:30:00"),
                                                            QStringLiteral("Avi"), QString(), QStringLiteral("x"))
                                                 << QStringLiteral("Message from Avi");

    Message state = message(date, time, QStringLiteral("Avi"), QStringLiteral("Dana"), QStringLiteral("x"));
    state.done = true;
    state.doneAt = QDateTime(QDate(2026, 12, 8), QTime(13, 5, 7), QTimeZone::utc());
    state.doneBy = QStringLiteral("Ruth");
    state.callBack = true;
    state.urgent = true;
    QTest::newRow("done, call back, urgent") << state << QStringLiteral("Call back: Message for Dana from Avi");
}

void tst_MessageTask::roundTrip()
{
    QFETCH(Message, sent);
    QFETCH(QString, summary);

    const QByteArray text = MessageTask::created(sent, kNow);
    for (const QByteArray& line : text.split('\n'))
        QVERIFY2(line.size() <= 76, line.constData()); // 75 octets and the CR
    const MessageTask task(text);
    QCOMPARE(shown(task.message()), shown(sent));
    QCOMPARE(task.message()->uid, sent.uid);

    // What a phone shows.
    for (const QByteArray& raw : ContentLine::split(text)) {
        if (nameOf(raw) == "SUMMARY")
            QCOMPARE(ContentLine::parse(raw)->value, summary);
    }
}

void tst_MessageTask::writtenInLocalTime()
{
    const QByteArray text = MessageTask::created(
        message(QStringLiteral("2026-12-08"), QStringLiteral("14:30:00"), QStringLiteral("Avi"), {}, {}), kNow);
    QVERIFY2(text.contains("\r\nDTSTART;TZID=Asia/Jerusalem:20261208T143000\r\n"), text.constData());
    QVERIFY2(text.contains("\r\nCREATED:20261208T123000Z\r\n"), text.constData());
    // The zone's rules go with it: winter time and the summer time of the year around.
    const qsizetype zone = text.indexOf("BEGIN:VTIMEZONE\r\nTZID:Asia/Jerusalem\r\n");
    QVERIFY(zone >= 0 && zone < text.indexOf("BEGIN:VTODO"));
    QVERIFY(text.contains("TZOFFSETFROM:+0300\r\nTZOFFSETTO:+0200\r\n"));
    QVERIFY(text.contains("TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0300\r\n"));
}

void tst_MessageTask::tasksFromElsewhere_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("expected"); // as shown()

    QTest::newRow("a phone's task: the summary is the text")
        << QByteArray("SUMMARY:Call the plumber\r\nDESCRIPTION:The sink\\, again\r\nCREATED:20261205T071500Z\r\n")
        << QStringLiteral("2026-12-05|09:15:00|||Call the plumber~The sink, again|open||||");
    QTest::newRow("a summary in our words")
        << QByteArray("SUMMARY:Message for Dana from Avi\r\nDESCRIPTION:Ring him\r\n")
        << QStringLiteral("||Avi|Dana|Ring him|open||||");
    QTest::newRow("call back in the summary")
        << QByteArray("SUMMARY:Call back: Message from Avi\r\n") << QStringLiteral("||Avi|||open|||call back|");
    QTest::newRow("our summary edited on a phone wins")
        << QByteArray("SUMMARY:Message for Dana from Avi Cohen\r\nX-TOVRIN-SUMMARY:Message for Dana from Avi\r\n"
                      "X-TOVRIN-FROM:Avi\r\nX-TOVRIN-TO:Dana\r\n")
        << QStringLiteral("||Avi Cohen|Dana||open||||");
    QTest::newRow("our summary reworded on a phone: it goes before the text")
        << QByteArray("SUMMARY:Avi rang\r\nDESCRIPTION:x\r\nX-TOVRIN-SUMMARY:Message for Dana from Avi\r\n"
                      "X-TOVRIN-FROM:Avi\r\nX-TOVRIN-TO:Dana\r\n")
        << QStringLiteral("||Avi|Dana|Avi rang~x|open||||");
    QTest::newRow("ticked on a phone")
        << QByteArray("SUMMARY:x\r\nSTATUS:COMPLETED\r\nCOMPLETED:20261207T160000Z\r\nPERCENT-COMPLETE:100\r\n")
        << QStringLiteral("||||x|done|2026-12-07T16:00:00Z|||");
    QTest::newRow("a completion time without a status") << QByteArray("SUMMARY:x\r\nCOMPLETED:20261207T160000Z\r\n")
                                                        << QStringLiteral("||||x|done|2026-12-07T16:00:00Z|||");
    QTest::newRow("ticked, then opened again")
        << QByteArray("SUMMARY:x\r\nSTATUS:NEEDS-ACTION\r\nCOMPLETED:20261207T160000Z\r\n")
        << QStringLiteral("||||x|open||||");
    QTest::newRow("high priority is urgent")
        << QByteArray("SUMMARY:x\r\nPRIORITY:3\r\n") << QStringLiteral("||||x|open||||urgent");
    QTest::newRow("a start in another zone is the same moment here")
        << QByteArray("SUMMARY:x\r\nDTSTART;TZID=Europe/London:20261208T120000\r\n")
        << QStringLiteral("2026-12-08|14:00:00|||x|open||||");
    QTest::newRow("a start in UTC") << QByteArray("SUMMARY:x\r\nDTSTART:20261208T230000Z\r\n")
                                    << QStringLiteral("2026-12-09|01:00:00|||x|open||||");
    QTest::newRow("a date alone") << QByteArray("SUMMARY:x\r\nDTSTART;VALUE=DATE:20261208\r\n")
                                  << QStringLiteral("2026-12-08||||x|open||||");
    QTest::newRow("control characters and direction marks are shown harmless")
        << QByteArray("SUMMARY:Message for Da\xE2\x80\xAEna from \x1B]0;x\r\nDESCRIPTION:a\\nb\tc\r\n")
        << QStringLiteral("||\uFFFD]0;x|Da\uFFFDna|a~b c|open||||");
}

void tst_MessageTask::tasksFromElsewhere()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, expected);
    QCOMPARE(shown(MessageTask(task(lines)).message()), expected);
}

void tst_MessageTask::editsRewriteOnlyTheirLines_data()
{
    QTest::addColumn<QByteArray>("server");
    QTest::addColumn<int>("edit");
    QTest::addColumn<QStringList>("rewritten"); // the properties whose lines change, besides DTSTAMP and LAST-MODIFIED

    Message ours = message(QStringLiteral("2026-12-08"), QStringLiteral("14:30:00"), QStringLiteral("Avi"),
                           QStringLiteral("Dana"), QStringLiteral("Ring him"));
    // Our task as a phone and the server keep it: an alarm, categories, a related task, a property of another
    // program folded its own way, a time zone and a second task beside it.
    QByteArray server = MessageTask::created(ours, kNow);
    server.replace("END:VTODO\r\n", "CATEGORIES:Work,Calls\r\nRELATED-TO;RELTYPE=PARENT:other-1\r\n"
                                    "X-PHONE-FLAG;X-A=\"b:c\":some\r\n\tthing\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\n"
                                    "DESCRIPTION:Reminder\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\nEND:VTODO\r\n"
                                    "BEGIN:VTODO\r\nUID:other-1\r\nSUMMARY:Parent\r\nEND:VTODO\r\n");
    const QStringList people{QStringLiteral("SUMMARY"), QStringLiteral("X-TOVRIN-SUMMARY"),
                             QStringLiteral("X-TOVRIN-FROM")};
    QTest::newRow("nothing changed") << server << 0 << QStringList();
    QTest::newRow("the text") << server << 1 << QStringList{QStringLiteral("DESCRIPTION")};
    QTest::newRow("marked done") << server << 2
                                 << QStringList{QStringLiteral("STATUS"), QStringLiteral("COMPLETED"),
                                                QStringLiteral("X-TOVRIN-DONE-BY")};
    QTest::newRow("urgent") << server << 3 << QStringList{QStringLiteral("PRIORITY")};
    QTest::newRow("from whom") << server << 4 << people;
    QTest::newRow("the time") << server << 5 << QStringList{QStringLiteral("DTSTART"), QStringLiteral("CREATED")};
    QTest::newRow("a phone's task: the text's first line is its summary")
        << task("SUMMARY:Call the plumber\r\nDESCRIPTION:The sink\r\nX-OTHER:1\r\n") << 1
        << QStringList{QStringLiteral("DESCRIPTION")};
    QTest::newRow("line breaks as CR LF are no change")
        << task("SUMMARY:Call the plumber\r\nDESCRIPTION:The sink\\nagain\r\n") << 6 << QStringList();
}

void tst_MessageTask::editsRewriteOnlyTheirLines()
{
    QFETCH(QByteArray, server);
    QFETCH(int, edit);
    QFETCH(QStringList, rewritten);

    const MessageTask task(server);
    Message wanted = *task.message();
    switch (edit) {
    case 1:
        wanted.text = wanted.text.section(QLatin1Char('\n'), 0, 0) + QStringLiteral("\nand again, today");
        break;
    case 2:
        wanted.done = true;
        wanted.doneAt = kNow;
        wanted.doneBy = QStringLiteral("Ruth");
        break;
    case 3:
        wanted.urgent = true;
        break;
    case 4:
        wanted.from = QStringLiteral("Avi Levin");
        break;
    case 5:
        wanted.time = QStringLiteral("15:00:00");
        break;
    case 6:
        wanted.text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        break;
    }
    const QDateTime later = kNow.addDays(1);
    const QByteArray patched = task.patched(wanted, later);
    if (rewritten.isEmpty()) {
        QCOMPARE(patched, server);
        return;
    }
    QCOMPARE(shown(MessageTask(patched).message()), shown(wanted));
    rewritten << QStringLiteral("DTSTAMP") << QStringLiteral("LAST-MODIFIED");
    // Every other line goes back byte for byte and in its place; the rewritten ones come and go.
    QList<QByteArray> kept;
    for (const QByteArray& raw : ContentLine::split(server)) {
        if (!rewritten.contains(QString::fromLatin1(nameOf(raw))) || raw.startsWith("DESCRIPTION:Reminder"))
            kept << raw;
    }
    qsizetype next = 0;
    QStringList changed;
    for (const QByteArray& raw : ContentLine::split(patched)) {
        if (next < kept.size() && raw == kept.at(next))
            ++next;
        else
            changed << QString::fromLatin1(nameOf(raw));
    }
    QCOMPARE(next, kept.size());
    for (const QString& name : std::as_const(changed))
        QVERIFY2(rewritten.contains(name), qPrintable(name));
    QVERIFY(patched.contains("DTSTAMP:20261209T100000Z\r\n"));
}

QTEST_GUILESS_MAIN(tst_MessageTask)
#include "tst_messagetask.moc"
