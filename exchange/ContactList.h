#pragma once

#include "data/Contact.h"

#include <QByteArray>
#include <QList>
#include <iterator>

// Where an entry was read: which file of an import (0 for the first) and which card or row of it (1 for the first;
// 0 when not known). Problems name the same (see ExchangeProblem).
struct EntryOrigin
{
    int file = 0;
    int record = 0;
};
Q_DECLARE_TYPEINFO(EntryOrigin, Q_PRIMITIVE_TYPE);

// Contacts kept compactly, as an import keeps the entries of a file until they are written: the twelve values of
// each as UTF-8, one entry after another in one block of bytes, and an entry the same as the one before it sharing
// its bytes. An entry takes its text and about twenty bytes, a fifth of what a Contact with its twelve strings
// takes, and a file that repeats one row a million times takes a few megabytes. Contacts come out as copies.
class ContactList
{
public:
    ContactList() = default;
    ContactList(const QList<Contact>& contacts); // NOLINT: a list of contacts is a contact list
    ContactList(std::initializer_list<Contact> contacts);

    qsizetype size() const { return m_starts.size(); }
    qsizetype count() const { return size(); }
    bool isEmpty() const { return m_starts.isEmpty(); }

    Contact at(qsizetype i) const;
    Contact value(qsizetype i) const { return i >= 0 && i < size() ? at(i) : Contact(); }
    Contact first() const { return at(0); }
    Contact constFirst() const { return at(0); }
    Contact last() const { return at(size() - 1); }
    Contact constLast() const { return at(size() - 1); }
    // The category alone, without making the whole contact.
    QString categoryAt(qsizetype i) const;
    EntryOrigin originAt(qsizetype i) const { return m_origins.at(i); }
    // Marks every entry as read from file `file` of an import.
    void setFile(int file);

    void append(const Contact& contact, EntryOrigin origin = {});
    void append(const ContactList& other);
    ContactList& operator<<(const Contact& contact)
    {
        append(contact);
        return *this;
    }
    ContactList& operator+=(const ContactList& other)
    {
        append(other);
        return *this;
    }
    void clear();
    void reserve(qsizetype entries, qsizetype bytes);

    QList<Contact> toList() const;

    class const_iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Contact;
        using difference_type = qsizetype;
        using pointer = void;
        using reference = Contact;

        const_iterator(const ContactList* list, qsizetype i) : m_list(list), m_i(i) {}
        Contact operator*() const { return m_list->at(m_i); }
        const_iterator& operator++()
        {
            ++m_i;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return m_i == other.m_i; }
        bool operator!=(const const_iterator& other) const { return m_i != other.m_i; }

    private:
        const ContactList* m_list;
        qsizetype m_i;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    QByteArray m_bytes;        // each entry's twelve values, each its length (7 bits a byte) and its UTF-8
    QList<qsizetype> m_starts; // where each entry starts in m_bytes; equal entries in a row share one start
    QList<EntryOrigin> m_origins;
};
