#include "sync/TaskRules.h"

#include <QCoreApplication>

namespace {

using Merge = MergeRules::Merge;

// The parts of a message merged one by one, as ranges of its ten values.
struct Part
{
    int first;
    int count;
    const char* name;
};
constexpr Part kParts[] = {{0, 2, QT_TRANSLATE_NOOP("TaskRules", "the date and time")},
                           {2, 1, QT_TRANSLATE_NOOP("TaskRules", "From")},
                           {3, 1, QT_TRANSLATE_NOOP("TaskRules", "To")},
                           {4, 1, QT_TRANSLATE_NOOP("TaskRules", "the message")},
                           {5, 3, QT_TRANSLATE_NOOP("TaskRules", "done")},
                           {8, 1, QT_TRANSLATE_NOOP("TaskRules", "call back")},
                           {9, 1, QT_TRANSLATE_NOOP("TaskRules", "urgent")}};

QStringList partOf(const QStringList& values, const Part& part)
{
    QStringList out;
    for (int i = part.first; i < part.first + part.count; ++i)
        out << values.value(i);
    return out;
}

// Unchanged or edited here, changed there: part by part.
Merge mergeChanged(const QStringList& agreed, MergeRules::Here here, const QStringList& local,
                   const QStringList& server)
{
    Merge result;
    QStringList values = server;
    if (here == MergeRules::Here::Edited) {
        for (const Part& part : kParts) {
            const QStringList mine = partOf(local, part);
            const QStringList theirs = partOf(server, part);
            // Done on both sides, at other moments: it is done, as the server says, with nothing to tell.
            const bool bothDone = part.first == 5 && mine.first() == theirs.first();
            if (mine == partOf(agreed, part) || mine == theirs || bothDone)
                continue;
            if (theirs == partOf(agreed, part)) {
                for (int i = 0; i < part.count; ++i)
                    values[part.first + i] = mine[i];
                continue;
            }
            result.lines << QCoreApplication::translate(
                                "TaskRules", "%1: %2 was changed here and on the server; the server's was kept.")
                                .arg(TaskRules::nameOf(local), QCoreApplication::translate("TaskRules", part.name));
        }
    }
    if (values != local) {
        result.row = Merge::Row::Update;
        result.values = values;
    }
    return result;
}

} // namespace

MergeRules::Merge TaskRules::merge(const QStringList& agreed, Here here, const QStringList& local, There there,
                                   const QStringList& server)
{
    Merge result;
    const bool kept = here == Here::Unchanged || here == Here::Edited;
    switch (there) {
    case There::Gone:
        result.card = Merge::Card::Forget;
        if (here == Here::Unchanged) {
            result.row = Merge::Row::Delete;
        } else if (here == Here::Edited) {
            result.card = Merge::Card::CreateAgain;
            result.lines << QCoreApplication::translate(
                                "TaskRules", "%1 was deleted on the server and changed here; it is sent again.")
                                .arg(nameOf(local));
        }
        return result;
    case There::Blank:
        // An item of the list that is no task stays there, unseen here; a message it was goes when unchanged here.
        if (here == Here::Unchanged) {
            result.row = Merge::Row::Delete;
            result.lines << QCoreApplication::translate("TaskRules",
                                                        "%1 is no task on the server any more; it was deleted here.")
                                .arg(nameOf(local));
        } else if (here == Here::Edited) {
            result.card = Merge::Card::Kept;
            result.lines << QCoreApplication::translate(
                                "TaskRules",
                                "%1 is no task on the server any more; the message as edited here goes back.")
                                .arg(nameOf(local));
        }
        return result;
    case There::Changed:
        break;
    }
    if (kept)
        return mergeChanged(agreed, here, local, server);
    if (here == Here::Deleted)
        result.lines << QCoreApplication::translate(
                            "TaskRules", "%1 was deleted here and changed on the server; it was brought back.")
                            .arg(nameOf(server));
    result.row = Merge::Row::Insert;
    result.values = server;
    return result;
}

MessageTask::Message TaskRules::messageOf(const QStringList& values, const QString& uid)
{
    MessageTask::Message message;
    message.date = values.value(0);
    message.time = values.value(1);
    message.from = values.value(2);
    message.to = values.value(3);
    message.text = values.value(4);
    message.done = values.value(5) == QLatin1String("1");
    message.doneAt = QDateTime::fromString(values.value(6), Qt::ISODate);
    message.doneBy = values.value(7);
    message.callBack = values.value(8) == QLatin1String("1");
    message.urgent = values.value(9) == QLatin1String("1");
    message.uid = uid;
    return message;
}

QStringList TaskRules::valuesOf(const MessageTask::Message& message)
{
    const QDateTime at = message.doneAt.toOffsetFromUtc(message.doneAt.offsetFromUtc());
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    return {message.date,
            message.time,
            message.from,
            message.to,
            message.text,
            flag(message.done),
            message.done && message.doneAt.isValid() ? at.toString(Qt::ISODate) : QString(),
            message.done ? message.doneBy : QString(),
            flag(message.callBack),
            flag(message.urgent)};
}

QString TaskRules::nameOf(const QStringList& values)
{
    return QCoreApplication::translate("TaskRules", "The message for \"%1\" from \"%2\" of %3")
        .arg(values.value(3).simplified(), values.value(2).simplified(), values.value(0));
}
