#pragma once

#include "exchange/VCardLine.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// A message of the log as a task on a CalDAV server (iCalendar, a VCALENDAR with one VTODO), kept byte for byte,
// and what it means as a message.
//
// A message goes as SUMMARY "Message for <To> from <From>" (what a phone's task list shows; "Message for <To>",
// "Message from <From>" or "Message" when one is empty), DESCRIPTION its text, DTSTART its date and time in the
// local zone (TZID, with a VTIMEZONE of that zone; a date alone as a DATE; a time without a date is not carried),
// CREATED the same moment in UTC, STATUS NEEDS-ACTION or COMPLETED with COMPLETED's time, PRIORITY 1 when urgent.
// Beside the readable summary the exact From and To go in properties of this program's own (X-TOVRIN-FROM,
// X-TOVRIN-TO, and the summary as written, X-TOVRIN-SUMMARY), believed only while the summary is still the one
// written: a summary edited elsewhere wins, as it reads. "Call back" puts words before the summary and
// X-TOVRIN-CALLBACK; who marked it done is X-TOVRIN-DONE-BY.
//
// A task made elsewhere (a phone) means a message too: From and To from a summary in the form above, otherwise the
// summary is the first line of the text and the description the rest; its date and time are DTSTART's, else
// CREATED's, in local time; ticked (STATUS COMPLETED or CANCELLED, or a COMPLETED time without STATUS) it is done;
// PRIORITY 1 to 4 is urgent. What is read is server text, made harmless as ServerText does (line breaks of the
// text kept).
//
// An edit rewrites only the lines of the values that differ from what the task means now (and DTSTAMP and
// LAST-MODIFIED); every other line (alarms, categories, related tasks, unknown properties, other components) stays
// as received, folding and all.
class MessageTask
{
public:
    struct Message
    {
        QString date; // tblMes.Cdate, yyyy-mm-dd; empty for none
        QString time; // tblMes.Ctime, hh:mm:ss; empty for none
        QString from; // tblMes.Meet
        QString to;   // tblMes.Avur
        QString text; // tblMes.Hodaa; line breaks travel as LF (a CR LF comes back as LF)
        bool done = false;
        QDateTime doneAt; // when it was marked done, to the second; invalid when not known
        QString doneBy;   // who marked it done; empty when not known (a task ticked on a phone)
        bool callBack = false;
        bool urgent = false;
        QString uid; // the task's UID

        bool operator==(const Message& other) const;
        bool operator!=(const Message& other) const { return !(*this == other); }
    };

    explicit MessageTask(const QByteArray& text);

    const QByteArray& text() const { return m_text; }
    // The message the task means; nothing when the text holds no VTODO.
    std::optional<Message> message() const;
    // The task with the lines of the values that differ from message() rewritten to `wanted`; `now` is the time of
    // the edit (DTSTAMP, LAST-MODIFIED). The UID stays.
    QByteArray patched(const Message& wanted, const QDateTime& now) const;

    // A new task for a message, under the message's UID.
    static QByteArray created(const Message& message, const QDateTime& now);

private:
    struct Line
    {
        QByteArray raw; // with its folding and line end
        VCardLine parsed;
        bool property = false; // a property of the VTODO itself (not of an alarm inside it, nor of another component)
    };
    class Edit;
    // The first property of the VTODO of that name; -1 when there is none.
    int find(const QString& name) const;
    QString value(const QString& name) const;
    // Whether the summary is still the one this program wrote beside From and To (X-TOVRIN-SUMMARY).
    bool summaryAsWritten() const;
    // The summary and who the message is from and for, as read (see above).
    void readPeople(Message& message) const;
    void readWhen(Message& message) const;
    void readState(Message& message) const;
    void editPeople(Edit& edit, const Message& wanted, const Message& now) const;
    void editWhen(Edit& edit, const Message& wanted, const Message& now) const;
    void editState(Edit& edit, const Message& wanted, const Message& now) const;

    QByteArray m_text;
    QList<Line> m_lines;
    int m_begin = -1; // BEGIN:VTODO
    int m_end = -1;   // its END:VTODO
};
