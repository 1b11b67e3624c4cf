#include "sync/MessageTask.h"

#include "exchange/ContentLine.h"
#include "exchange/VCardLineWriter.h"
#include "sync/ServerText.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTimeZone>
#include <cstdlib>

namespace {

const QString kStamp = QStringLiteral("yyyyMMdd'T'HHmmss");

// The summaries, by who is known: for whom and from whom, for whom, from whom, neither.
struct SummaryForm
{
    const char* text;
    bool to;   // %1 is for whom
    bool from; // the next placeholder is from whom
};
const SummaryForm kForms[] = {
    {QT_TRANSLATE_NOOP("MessageTask", "Message for %1 from %2"), true, true},
    {QT_TRANSLATE_NOOP("MessageTask", "Message for %1"), true, false},
    {QT_TRANSLATE_NOOP("MessageTask", "Message from %1"), false, true},
    {QT_TRANSLATE_NOOP("MessageTask", "Message"), false, false},
};
const char* const kCallBack = QT_TRANSLATE_NOOP("MessageTask", "Call back: %1");

QString summaryOf(const MessageTask::Message& message)
{
    const QString to = message.to.simplified();
    const QString from = message.from.simplified();
    const SummaryForm& form = kForms[(to.isEmpty() ? 2 : 0) + (from.isEmpty() ? 1 : 0)];
    QString summary = QCoreApplication::translate("MessageTask", form.text);
    if (form.to && form.from)
        summary = summary.arg(to, from);
    else if (form.to || form.from)
        summary = summary.arg(form.to ? to : from);
    return message.callBack ? QCoreApplication::translate("MessageTask", kCallBack).arg(summary) : summary;
}

// The texts that stand for %1 and %2 in `text` written after `form` (its first placeholder matched as short as it
// can be); nothing when `text` is not in that form.
std::optional<QStringList> filled(const QString& form, const QString& text)
{
    QString pattern = QRegularExpression::escape(form);
    const bool oneFirst = form.indexOf(QLatin1String("%1")) <= form.indexOf(QLatin1String("%2"));
    pattern.replace(QLatin1String("\\%1"), oneFirst ? QLatin1String("(?<a>.*?)") : QLatin1String("(?<a>.*)"));
    pattern.replace(QLatin1String("\\%2"), oneFirst ? QLatin1String("(?<b>.*)") : QLatin1String("(?<b>.*?)"));
    const QRegularExpression re(QLatin1Char('^') + pattern + QLatin1Char('$'),
                                QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = re.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return QStringList{match.captured(QStringLiteral("a")), match.captured(QStringLiteral("b"))};
}

// From, To and "call back" read off a summary in one of the forms above, as this desk writes them or untranslated.
bool readSummary(const QString& summary, MessageTask::Message& message)
{
    const auto wordings = [](const char* form) {
        return QStringList{QCoreApplication::translate("MessageTask", form), QString::fromLatin1(form)};
    };
    QString rest = summary.trimmed();
    message.callBack = false;
    for (const QString& wording : wordings(kCallBack)) {
        if (const auto parts = filled(wording, rest)) {
            rest = parts->at(0).trimmed();
            message.callBack = true;
            break;
        }
    }
    for (const SummaryForm& form : kForms) {
        for (const QString& wording : wordings(form.text)) {
            const auto parts = filled(wording, rest);
            if (!parts)
                continue;
            message.to = form.to ? parts->at(0).trimmed() : QString();
            message.from = form.from ? parts->at(form.to ? 1 : 0).trimmed() : QString();
            return true;
        }
    }
    return false;
}

QString utcText(const QDateTime& moment)
{
    return moment.toUTC().toString(kStamp) + QLatin1Char('Z');
}

// A DATE-TIME value as a moment: UTC ("Z"), in the zone TZID names, or local.
QDateTime momentOf(const VCardLine& line)
{
    const QString value = line.value.trimmed();
    const bool utc = value.endsWith(QLatin1Char('Z'), Qt::CaseInsensitive);
    const QDate date = QDate::fromString(value.left(8), QStringLiteral("yyyyMMdd"));
    const QTime time = value.size() >= 15 && value.at(8).toUpper() == QLatin1Char('T')
                           ? QTime::fromString(value.mid(9, 6), QStringLiteral("HHmmss"))
                           : QTime(0, 0);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    const QTimeZone zone(line.parameters.value(QStringLiteral("TZID")).value(0).toUtf8());
    if (utc)
        return QDateTime(date, time, QTimeZone::utc());
    return zone.isValid() ? QDateTime(date, time, zone) : QDateTime(date, time);
}

// The date and time of the log a DTSTART or CREATED line gives: the wall-clock time as written when it is this
// desk's zone or names none (so a time this zone skips stays as typed), else the same moment here.
bool readMoment(const VCardLine& line, MessageTask::Message& message)
{
    const QString value = line.value.trimmed();
    const QDate date = QDate::fromString(value.left(8), QStringLiteral("yyyyMMdd"));
    if (!date.isValid())
        return false;
    const bool dateOnly =
        line.parameters.value(QStringLiteral("VALUE")).value(0).compare(QLatin1String("DATE"), Qt::CaseInsensitive) ==
            0 ||
        value.size() == 8;
    if (dateOnly) {
        message.date = date.toString(Qt::ISODate);
        message.time.clear();
        return true;
    }
    const QByteArray tzid = line.parameters.value(QStringLiteral("TZID")).value(0).toUtf8();
    const bool asWritten = !value.endsWith(QLatin1Char('Z'), Qt::CaseInsensitive) &&
                           (tzid.isEmpty() || tzid == QTimeZone::systemTimeZoneId() || !QTimeZone(tzid).isValid());
    const QTime time = QTime::fromString(value.mid(9, 6), QStringLiteral("HHmmss"));
    const QDateTime local = asWritten ? QDateTime() : momentOf(line).toLocalTime();
    if (!(asWritten ? time.isValid() : local.isValid()))
        return false;
    message.date = (asWritten ? date : local.date()).toString(Qt::ISODate);
    message.time = (asWritten ? time : local.time()).toString(QStringLiteral("HH:mm:ss"));
    return true;
}

// The moment a date and time of this desk stand for; one the clocks skip is as long after midnight as it says.
QDateTime localMoment(const QDate& date, const QTime& time)
{
    const QDateTime moment(date, time);
    return moment.isValid() ? moment : date.startOfDay().addSecs(QTime(0, 0).secsTo(time));
}

QByteArray offsetText(int seconds)
{
    const int minutes = std::abs(seconds) / 60;
    return (seconds < 0 ? "-" : "+") + QByteArray::number(minutes / 60).rightJustified(2, '0') +
           QByteArray::number(minutes % 60).rightJustified(2, '0');
}

// A VTIMEZONE for `id` whose rules cover a year either side of `date`: each change of offset as an observance of
// its own, or one observance for a zone without changes.
QByteArray timezoneOf(const QByteArray& id, const QDate& date)
{
    const QTimeZone zone(id);
    const QDateTime from = date.addYears(-1).startOfDay(QTimeZone::utc());
    QTimeZone::OffsetDataList changes = zone.transitions(from, date.addYears(1).startOfDay(QTimeZone::utc()));
    const QTimeZone::OffsetData before = zone.previousTransition(from);
    if (before.atUtc.isValid())
        changes.prepend(before);
    QByteArray out = "BEGIN:VTIMEZONE\r\n" + VCardLineWriter::folded("TZID:" + id);
    const auto observance = [&](const QByteArray& kind, const QByteArray& start, int fromOffset, int toOffset,
                                const QString& name) {
        out += "BEGIN:" + kind + "\r\nDTSTART:" + start + "\r\nTZOFFSETFROM:" + offsetText(fromOffset) +
               "\r\nTZOFFSETTO:" + offsetText(toOffset) + "\r\n";
        if (!name.isEmpty())
            out += VCardLineWriter::folded("TZNAME:" + VCardLineWriter::escaped(name).toUtf8());
        out += "END:" + kind + "\r\n";
    };
    if (changes.isEmpty()) {
        const int offset = zone.offsetFromUtc(from);
        observance("STANDARD", "19700101T000000", offset, offset, zone.abbreviation(from));
    }
    for (const QTimeZone::OffsetData& change : std::as_const(changes)) {
        const QTimeZone::OffsetData prior = zone.previousTransition(change.atUtc);
        const int fromOffset = prior.atUtc.isValid() ? prior.offsetFromUtc : change.offsetFromUtc;
        observance(change.daylightTimeOffset != 0 ? "DAYLIGHT" : "STANDARD",
                   change.atUtc.addSecs(fromOffset).toString(kStamp).toUtf8(), fromOffset, change.offsetFromUtc,
                   change.abbreviation);
    }
    return out + "END:VTIMEZONE\r\n";
}

} // namespace

bool MessageTask::Message::operator==(const Message& other) const
{
    return date == other.date && time == other.time && from == other.from && to == other.to && text == other.text &&
           done == other.done && doneAt == other.doneAt && doneBy == other.doneBy && callBack == other.callBack &&
           urgent == other.urgent && uid == other.uid;
}

// The task's lines as an edit goes: each kept or replaced, some removed, new ones added before END:VTODO, new
// components (a VTIMEZONE) before BEGIN:VTODO.
class MessageTask::Edit
{
public:
    explicit Edit(const MessageTask& task) : m_task(task)
    {
        for (const Line& line : task.m_lines) {
            m_lines << line.raw;
            m_removed << false;
        }
    }
    bool changed() const { return m_changed; }
    // Line `index` replaced, or added when there is none (-1).
    void set(int index, const QByteArray& line)
    {
        if (index >= 0)
            m_lines[index] = line;
        else
            m_added << line;
        m_changed = true;
    }
    // The property `name` holds `text`: its line rewritten with its parameters kept, or added; nothing is written
    // when it holds that text already.
    void put(const QString& name, const QString& text)
    {
        const int index = m_task.find(name);
        if (index >= 0 && m_task.m_lines.at(index).parsed.value == text)
            return;
        const QString value = VCardLineWriter::escaped(text);
        set(index, index >= 0 ? ContentLine::withValue(m_task.m_lines.at(index).raw, value)
                              : VCardLineWriter::folded(name.toUtf8() + ':' + value.toUtf8()));
    }
    void drop(const QString& name)
    {
        for (int i = 0; i < m_task.m_lines.size(); ++i) {
            if (m_task.m_lines.at(i).property && m_task.m_lines.at(i).parsed.name == name && !m_removed.at(i)) {
                m_removed[i] = true;
                m_changed = true;
            }
        }
    }
    // put() for a text, drop() for none.
    void putOrDrop(const QString& name, const QString& text)
    {
        if (text.isEmpty())
            drop(name);
        else
            put(name, text);
    }
    void addComponent(const QByteArray& component)
    {
        m_components += component;
        m_changed = true;
    }
    QByteArray text() const
    {
        QByteArray out;
        for (int i = 0; i < m_lines.size(); ++i) {
            if (i == m_task.m_begin)
                out += m_components;
            if (i == m_task.m_end)
                out += m_added.join();
            if (!m_removed.at(i))
                out += m_lines.at(i);
        }
        return m_task.m_end < 0 ? out + m_added.join() : out;
    }

private:
    const MessageTask& m_task;
    QList<QByteArray> m_lines;
    QList<bool> m_removed;
    QList<QByteArray> m_added;
    QByteArray m_components;
    bool m_changed = false;
};

MessageTask::MessageTask(const QByteArray& text) : m_text(text)
{
    // Only the first VTODO's own lines are properties: an alarm inside it, a time zone or another task beside it
    // go back as they came.
    int depth = 0;
    int todoDepth = -1;
    for (const QByteArray& raw : ContentLine::split(text)) {
        Line line;
        line.raw = raw;
        const QByteArray upper = raw.trimmed().toUpper();
        if (upper.startsWith("BEGIN:")) {
            ++depth;
            if (m_begin < 0 && upper == "BEGIN:VTODO") {
                m_begin = int(m_lines.size());
                todoDepth = depth;
            }
        } else if (upper.startsWith("END:")) {
            if (depth == todoDepth && m_end < 0)
                m_end = int(m_lines.size());
            --depth;
        } else if (!upper.isEmpty() && depth == todoDepth && m_end < 0) {
            if (const std::optional<VCardLine> parsed = ContentLine::parse(raw)) {
                line.parsed = *parsed;
                line.property = true;
            }
        }
        m_lines.append(line);
    }
}

int MessageTask::find(const QString& name) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        if (m_lines.at(i).property && m_lines.at(i).parsed.name == name)
            return i;
    }
    return -1;
}

QString MessageTask::value(const QString& name) const
{
    const int index = find(name);
    return index < 0 ? QString() : m_lines.at(index).parsed.value;
}

bool MessageTask::summaryAsWritten() const
{
    const int written = find(QStringLiteral("X-TOVRIN-SUMMARY"));
    return written >= 0 && m_lines.at(written).parsed.value == value(QStringLiteral("SUMMARY"));
}

std::optional<MessageTask::Message> MessageTask::message() const
{
    if (m_begin < 0)
        return std::nullopt;
    Message message;
    message.uid = value(QStringLiteral("UID")).trimmed();
    readPeople(message);
    readWhen(message);
    readState(message);
    return message;
}

void MessageTask::readPeople(Message& message) const
{
    const QString summary = value(QStringLiteral("SUMMARY"));
    const QString description = value(QStringLiteral("DESCRIPTION"));
    const bool ours = summaryAsWritten();
    const bool named = ours || readSummary(summary, message);
    if (ours || !named) {
        message.from = value(QStringLiteral("X-TOVRIN-FROM"));
        message.to = value(QStringLiteral("X-TOVRIN-TO"));
        message.callBack = find(QStringLiteral("X-TOVRIN-CALLBACK")) >= 0;
    }
    // A summary of another wording is what the message says first.
    message.text = named || summary.isEmpty() ? description
                   : description.isEmpty()    ? summary
                                              : summary + QLatin1Char('\n') + description;
    message.from = ServerText::shown(message.from);
    message.to = ServerText::shown(message.to);
    message.text = ServerText::shownLines(message.text);
}

void MessageTask::readWhen(Message& message) const
{
    for (const QString& name : {QStringLiteral("DTSTART"), QStringLiteral("CREATED")}) {
        const int index = find(name);
        if (index >= 0 && readMoment(m_lines.at(index).parsed, message))
            return;
    }
}

void MessageTask::readState(Message& message) const
{
    const QString status = value(QStringLiteral("STATUS")).trimmed().toUpper();
    const int completed = find(QStringLiteral("COMPLETED"));
    message.done = status == QLatin1String("COMPLETED") || status == QLatin1String("CANCELLED") ||
                   (status.isEmpty() && completed >= 0);
    if (message.done && completed >= 0)
        message.doneAt = momentOf(m_lines.at(completed).parsed).toUTC();
    if (message.done)
        message.doneBy = ServerText::shown(value(QStringLiteral("X-TOVRIN-DONE-BY")));
    bool number = false;
    const int priority = value(QStringLiteral("PRIORITY")).trimmed().toInt(&number);
    message.urgent = number && priority >= 1 && priority <= 4;
}

void MessageTask::editPeople(Edit& edit, const Message& wanted, const Message& now) const
{
    Message probe;
    const bool named = summaryAsWritten() || readSummary(value(QStringLiteral("SUMMARY")), probe);
    if (wanted.from != now.from || wanted.to != now.to || wanted.callBack != now.callBack ||
        find(QStringLiteral("SUMMARY")) < 0) {
        const QString written = summaryOf(wanted);
        edit.put(QStringLiteral("SUMMARY"), written);
        edit.put(QStringLiteral("X-TOVRIN-SUMMARY"), written);
        edit.put(QStringLiteral("X-TOVRIN-FROM"), wanted.from);
        edit.put(QStringLiteral("X-TOVRIN-TO"), wanted.to);
        if (wanted.callBack)
            edit.put(QStringLiteral("X-TOVRIN-CALLBACK"), QStringLiteral("TRUE"));
        else
            edit.drop(QStringLiteral("X-TOVRIN-CALLBACK"));
        edit.putOrDrop(QStringLiteral("DESCRIPTION"), wanted.text);
    } else if (wanted.text != now.text && named) {
        edit.putOrDrop(QStringLiteral("DESCRIPTION"), wanted.text);
    } else if (wanted.text != now.text) {
        // The summary says the text's first line, as it did.
        const qsizetype lineEnd = wanted.text.indexOf(QLatin1Char('\n'));
        edit.put(QStringLiteral("SUMMARY"), wanted.text.left(lineEnd));
        edit.putOrDrop(QStringLiteral("DESCRIPTION"), lineEnd < 0 ? QString() : wanted.text.mid(lineEnd + 1));
    }
}

void MessageTask::editWhen(Edit& edit, const Message& wanted, const Message& now) const
{
    if (wanted.date == now.date && wanted.time == now.time)
        return;
    const QDate date = QDate::fromString(wanted.date, Qt::ISODate);
    const QTime time = QTime::fromString(wanted.time, QStringLiteral("HH:mm:ss"));
    if (!date.isValid()) {
        edit.drop(QStringLiteral("DTSTART"));
        edit.drop(QStringLiteral("CREATED"));
        return;
    }
    // The time as typed, in the zone of this desk; a desk without a named zone writes it without one.
    const QByteArray zone = QTimeZone::systemTimeZoneId();
    QByteArray start = "DTSTART;VALUE=DATE:" + date.toString(QStringLiteral("yyyyMMdd")).toUtf8();
    if (time.isValid()) {
        start = (zone.isEmpty() ? QByteArray("DTSTART:") : "DTSTART;TZID=" + zone + ':') +
                (date.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('T') + time.toString(QStringLiteral("HHmmss")))
                    .toUtf8();
        bool described = false;
        for (const Line& line : m_lines)
            described = described || line.raw.trimmed().compare("TZID:" + zone, Qt::CaseInsensitive) == 0;
        if (!zone.isEmpty() && !described)
            edit.addComponent(timezoneOf(zone, date));
    }
    edit.set(find(QStringLiteral("DTSTART")), VCardLineWriter::folded(start));
    edit.put(QStringLiteral("CREATED"), utcText(localMoment(date, time.isValid() ? time : QTime(0, 0))));
}

void MessageTask::editState(Edit& edit, const Message& wanted, const Message& now) const
{
    if (wanted.done != now.done || (wanted.done && wanted.doneAt != now.doneAt)) {
        edit.put(QStringLiteral("STATUS"), wanted.done ? QStringLiteral("COMPLETED") : QStringLiteral("NEEDS-ACTION"));
        if (wanted.done && wanted.doneAt.isValid())
            edit.put(QStringLiteral("COMPLETED"), utcText(wanted.doneAt));
        else
            edit.drop(QStringLiteral("COMPLETED"));
        if (find(QStringLiteral("PERCENT-COMPLETE")) >= 0)
            edit.put(QStringLiteral("PERCENT-COMPLETE"), wanted.done ? QStringLiteral("100") : QStringLiteral("0"));
    }
    const QString doneBy = wanted.done ? wanted.doneBy : QString();
    if (wanted.done != now.done || doneBy != now.doneBy)
        edit.putOrDrop(QStringLiteral("X-TOVRIN-DONE-BY"), doneBy);
    if (wanted.urgent != now.urgent) {
        if (wanted.urgent)
            edit.put(QStringLiteral("PRIORITY"), QStringLiteral("1"));
        else
            edit.drop(QStringLiteral("PRIORITY"));
    }
}

QByteArray MessageTask::patched(const Message& wanted, const QDateTime& now) const
{
    const std::optional<Message> current = message();
    if (!current)
        return created(wanted, now);
    // A text's line breaks go as LF, as they come back: CR LF is no change.
    Message target = wanted;
    target.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Edit edit(*this);
    editPeople(edit, target, *current);
    editWhen(edit, target, *current);
    editState(edit, target, *current);
    if (!edit.changed())
        return m_text;
    edit.put(QStringLiteral("DTSTAMP"), utcText(now));
    edit.put(QStringLiteral("LAST-MODIFIED"), utcText(now));
    return edit.text();
}

QByteArray MessageTask::created(const Message& message, const QDateTime& now)
{
    const QByteArray task = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tovrin//Message pad//EN\r\nBEGIN:VTODO\r\n" +
                            VCardLineWriter::folded("UID:" + VCardLineWriter::escaped(message.uid).toUtf8()) +
                            "DTSTAMP:" + utcText(now).toUtf8() +
                            "\r\nSTATUS:NEEDS-ACTION\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
    return MessageTask(task).patched(message, now);
}
