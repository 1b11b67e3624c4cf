#pragma once

#include <QString>

// What the file knows of the version of a card on the server: nothing there yet (a new card, or one to be created
// there again), there but in a version not known here (it changed there, or the server gave no ETag), or there in
// this version. Only a known version is ever sent back (If-Match); a card whose version is not known is read again
// before anything is sent to it.
class ETag
{
public:
    enum class State { New, Unknown, Known };

    ETag() = default; // New
    static ETag unknown() { return ETag(State::Unknown, QString()); }
    // The server's ETag header or property; none given is a version not known.
    static ETag of(const QString& value) { return value.isEmpty() ? unknown() : ETag(State::Known, value); }

    // As the file keeps it: "" new, "-" not known, else the ETag with its quotes.
    static ETag fromStored(const QString& text)
    {
        return text.isEmpty() ? ETag() : text == QLatin1String("-") ? unknown() : ETag(State::Known, text);
    }
    QString stored() const
    {
        return m_state == State::New ? QStringLiteral("") : m_state == State::Unknown ? QStringLiteral("-") : m_value;
    }

    State state() const { return m_state; }
    bool isNew() const { return m_state == State::New; }
    bool isKnown() const { return m_state == State::Known; }
    // The ETag itself; empty unless known.
    const QString& value() const { return m_value; }
    // Whether the server lists the version known here (`listed` its ETag).
    bool is(const QString& listed) const { return isKnown() && m_value == listed; }

    bool operator==(const ETag& other) const { return m_state == other.m_state && m_value == other.m_value; }
    bool operator!=(const ETag& other) const { return !(*this == other); }

private:
    ETag(State state, const QString& value) : m_state(state), m_value(value) {}

    State m_state = State::New;
    QString m_value;
};
