#include "messages/TimeLineEdit.h"

#include "data/DateRules.h"

#include <QFocusEvent>
#include <QLocale>

TimeLineEdit::TimeLineEdit(QWidget* parent) : QLineEdit(parent) {}

QString TimeLineEdit::fullText() const
{
    return m_showingFull ? text() : m_full;
}

void TimeLineEdit::setFullText(const QString& text)
{
    m_full = text;
    if (m_showingFull)
        setText(text);
    else
        setText(shortForm(text));
}

QString TimeLineEdit::shortForm(const QString& text)
{
    const std::optional<QTime> time = DateRules::parseTime(text, QLocale());
    return time ? time->toString(QStringLiteral("HH:mm")) : text;
}

void TimeLineEdit::showFull()
{
    if (m_showingFull)
        return;
    m_showingFull = true;
    setText(m_full);
}

void TimeLineEdit::showShort()
{
    if (!m_showingFull)
        return;
    m_full = text();
    m_showingFull = false;
    setText(shortForm(m_full));
}

void TimeLineEdit::focusInEvent(QFocusEvent* event)
{
    // The full text has to be in place before the base class selects it (focus by Tab selects everything).
    showFull();
    QLineEdit::focusInEvent(event);
}

void TimeLineEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // The context menu works on the text being edited, so it must not be swapped for the short form under it.
    if (event->reason() != Qt::PopupFocusReason)
        showShort();
}
