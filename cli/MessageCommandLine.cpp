#include "cli/MessageCommandLine.h"

#include "cli/CommandRegistry.h"
#include "cli/Console.h"
#include "data/DataControl.h"
#include "data/Database.h"
#include "data/MessageLog.h"
#include "data/Query.h"
#include "data/Recordset.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QSet>

namespace {

struct Message
{
    qint64 key = -1;
    QStringList values; // date, time, From, To, the message
};

// The messages a request of the log window lists, in its order.
QList<Message> read(DataControl& log, const Query& query)
{
    log.setRecordSource(query);
    log.Refresh();
    QList<Message> messages;
    for (Recordset* rs = log.Recordset(); !rs->Eof(); rs->MoveNext()) {
        Message message{rs->currentKey(), {}};
        for (const char* column : {"Cdate", "Ctime", "Meet", "Avur", "Hodaa"})
            message.values << rs->Fields(QLatin1String(column)).Value().toString();
        messages.append(message);
    }
    return messages;
}

// The whole log, read as the window reads it: once the states of renumbered messages are tied again.
QList<Message> wholeLog(DataControl& log, const QString& database)
{
    MessageLog::retie(*Database::open(database));
    log.setDatabaseName(database);
    return read(log, Query::log());
}

QString escaped(QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    value.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    value.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return value;
}

// The last column of a listing; fixed words, the same in every language, for scripts to read.
QString stateText(const MessageLog::State& state)
{
    QString text = state.done ? QStringLiteral("done") : QStringLiteral("open");
    if (state.callBack)
        text += QLatin1String(",call back");
    if (state.urgent)
        text += QLatin1String(",urgent");
    return text;
}

int listMessages(const CommandArguments& given)
{
    DataControl log;
    const QList<Message> all = wholeLog(log, given.workingDatabase());
    LogFilter filter;
    filter.forName = given.value(QStringLiteral("for"));
    // A file without states holds open messages only.
    filter.openOnly = given.isSet(QStringLiteral("open")) && MessageLog::kept(*log.database());
    const bool filtered = !filter.forName.isEmpty() || filter.openOnly;
    // The filter says which messages are listed; the whole log says their numbers and order.
    QSet<qint64> passed;
    if (filtered) {
        for (const Message& message : read(log, Query::log(filter)))
            passed.insert(message.key);
    }
    const QHash<qint64, MessageLog::State> states = MessageLog::states(*log.database());
    QString lines;
    for (int i = 0; i < all.size(); ++i) {
        const Message& message = all.at(i);
        if (filtered && !passed.contains(message.key))
            continue;
        QStringList columns{QString::number(i + 1)};
        for (const QString& value : message.values)
            columns << escaped(value);
        columns << stateText(states.value(message.key));
        lines += columns.join(QLatin1Char('\t')) + QLatin1Char('\n');
        if (lines.size() > 65536) {
            Console::out(lines);
            lines.clear();
        }
    }
    Console::out(lines);
    return 0;
}

int markDone(const CommandArguments& given)
{
    DataControl log;
    const QList<Message> all = wholeLog(log, given.workingDatabase());
    const QString typed = given.value(QStringLiteral("mark-done"));
    bool isNumber = false;
    const qlonglong number = typed.toLongLong(&isNumber);
    if (!isNumber || number < 1 || number > all.size()) {
        Console::error(
            all.isEmpty()
                ? QCoreApplication::translate("MessageCommandLine", "There is no message %1: the log is empty. "
                                                                    "Nothing was changed.\n")
                      .arg(typed)
                : QCoreApplication::translate("MessageCommandLine", "There is no message %1: the log's messages "
                                                                    "are numbered 1 to %2, as --messages lists "
                                                                    "them. Nothing was changed.\n")
                      .arg(typed, QString::number(all.size())));
        return 2;
    }
    const Message& message = all.at(number - 1);
    const QString which = QCoreApplication::translate("MessageCommandLine", "Message %1 (%2 %3, from %4 for %5)")
                              .arg(QString::number(number), message.values.at(0), message.values.at(1),
                                   message.values.at(2), message.values.at(3));
    const MessageLog::State state = MessageLog::states(*log.database()).value(message.key);
    if (state.done) {
        Console::out(QCoreApplication::translate("MessageCommandLine", "%1 was marked done already (%2 by %3); nothing "
                                                                       "was changed.\n")
                         .arg(which, state.doneAt, state.doneBy));
        return 0;
    }
    MessageLog::mark(*log.database(), {message.key}, MessageLog::Mark::Done, true, MessageLog::deskUser(),
                     QDateTime::currentDateTime());
    Console::out(QCoreApplication::translate("MessageCommandLine", "%1 is marked done.\n").arg(which));
    return 0;
}

} // namespace

void MessageCommandLine::addTo(CommandRegistry& registry)
{
    registry.addCommand({QStringLiteral("messages"),
                         QCoreApplication::translate("MessageCommandLine",
                                                     "Lists the message log, newest first, one numbered message a "
                                                     "line: number, date, time, From, To, message and state, "
                                                     "separated by tabs.")},
                        listMessages);
    registry.addOption({QStringLiteral("open"),
                        QCoreApplication::translate("MessageCommandLine", "Lists only the messages not marked done.")},
                       {QStringLiteral("messages")});
    registry.addOption(
        {QStringLiteral("for"),
         QCoreApplication::translate("MessageCommandLine", "Lists only the messages left for NAME (To, letter case "
                                                           "ignored)."),
         QStringLiteral("NAME")},
        {QStringLiteral("messages")});
    registry.addCommand(
        {QStringLiteral("mark-done"),
         QCoreApplication::translate("MessageCommandLine", "Marks the message --messages numbered N done, as the log's "
                                                           "\"Mark Done\" does."),
         QStringLiteral("N")},
        markDone);
}
