#include "exchange/ContactList.h"

#include "data/Columns.h"

#include <cstring>

namespace {

void appendLength(QByteArray& bytes, qsizetype length)
{
    do {
        const char low = char(length & 0x7f);
        length >>= 7;
        bytes.append(length ? char(low | 0x80) : low);
    } while (length);
}

qsizetype readLength(const char*& p)
{
    qsizetype length = 0;
    int shift = 0;
    unsigned char c;
    do {
        c = static_cast<unsigned char>(*p++);
        length |= qsizetype(c & 0x7f) << shift;
        shift += 7;
    } while (c & 0x80);
    return length;
}

// Reads one value and moves past it; the empty value is the null string, as a fresh Contact has it.
QString readValue(const char*& p)
{
    const qsizetype length = readLength(p);
    const QString value = length ? QString::fromUtf8(p, length) : QString();
    p += length;
    return value;
}

} // namespace

ContactList::ContactList(const QList<Contact>& contacts)
{
    for (const Contact& contact : contacts)
        append(contact);
}

ContactList::ContactList(std::initializer_list<Contact> contacts)
{
    for (const Contact& contact : contacts)
        append(contact);
}

Contact ContactList::at(qsizetype i) const
{
    Contact contact;
    const char* p = m_bytes.constData() + m_starts.at(i);
    for (const Columns::Column& column : Columns::kAll)
        contact.*column.field = readValue(p);
    return contact;
}

QString ContactList::categoryAt(qsizetype i) const
{
    const char* p = m_bytes.constData() + m_starts.at(i);
    return readValue(p);
}

void ContactList::setFile(int file)
{
    for (EntryOrigin& origin : m_origins)
        origin.file = file;
}

void ContactList::append(const Contact& contact, EntryOrigin origin)
{
    m_origins.append(origin);
    const qsizetype start = m_bytes.size();
    for (const Columns::Column& column : Columns::kAll) {
        const QString& value = contact.*column.field;
        if (value.isEmpty()) {
            m_bytes.append('\0');
            continue;
        }
        const QByteArray utf8 = value.toUtf8();
        appendLength(m_bytes, utf8.size());
        m_bytes.append(utf8);
    }
    // The same entry as the one before: its bytes serve both.
    if (!m_starts.isEmpty()) {
        const qsizetype previous = m_starts.constLast();
        const qsizetype length = m_bytes.size() - start;
        if (start - previous == length &&
            std::memcmp(m_bytes.constData() + previous, m_bytes.constData() + start, std::size_t(length)) == 0) {
            m_bytes.truncate(start);
            m_starts.append(previous);
            return;
        }
    }
    m_starts.append(start);
}

void ContactList::append(const ContactList& other)
{
    if (isEmpty()) {
        *this = other;
        return;
    }
    const qsizetype offset = m_bytes.size();
    m_bytes.append(other.m_bytes);
    m_starts.reserve(m_starts.size() + other.m_starts.size());
    for (const qsizetype start : other.m_starts)
        m_starts.append(offset + start);
    m_origins.append(other.m_origins);
}

void ContactList::clear()
{
    m_bytes.clear();
    m_starts.clear();
    m_origins.clear();
}

void ContactList::reserve(qsizetype entries, qsizetype bytes)
{
    m_starts.reserve(entries);
    m_origins.reserve(entries);
    m_bytes.reserve(bytes);
}

QList<Contact> ContactList::toList() const
{
    QList<Contact> contacts;
    contacts.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        contacts.append(at(i));
    return contacts;
}
