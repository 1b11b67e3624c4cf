#pragma once

#include "sync/MergeRules.h"
#include "sync/MessageTask.h"

#include <QString>
#include <QStringList>

// The rules of the message log's sync with a task list, as functions of what each side holds: a message is the ten
// values TaskStore keeps (tblMes's five, then done, when, by whom, call back, urgent).
//
// Pulling a task: each part of a message (its date and time, From, To, the text, done with when and by whom, call
// back, urgent) changed on one side takes that side; changed on both, the server's stays and the local one is
// reported. A message edited here and deleted there goes up again as a new task; deleted here and changed there,
// it comes back here. What a push does, and what the server's answers mean, are the contact sync's rules
// (MergeRules::step, MergeRules::after).
namespace TaskRules {

using Here = MergeRules::Here;
using There = MergeRules::There; // Blank: the server's item is no task (an event, say)

// `agreed`: the values last agreed; `local`: the message's values (Edited, Unchanged); `server`: the values the
// server's task means (Changed). The result's `values` are a message's ten.
MergeRules::Merge merge(const QStringList& agreed, Here here, const QStringList& local, There there,
                        const QStringList& server);

// The message the ten values are (under `uid`), and the ten values of a message.
MessageTask::Message messageOf(const QStringList& values, const QString& uid);
QStringList valuesOf(const MessageTask::Message& message);

// The message as a report names it: "the message for <To> from <From> of <date>".
QString nameOf(const QStringList& values);

} // namespace TaskRules
