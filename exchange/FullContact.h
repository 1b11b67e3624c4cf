#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// A contact as an address book keeps it: every name part, every number and address with what it is for, and a
// count of the values an entry has no place for. The vCard and CSV readers each make one; ContactChoice then
// chooses what fits the twelve columns, so one person gives the same entry whichever format it came in.
struct FullContact
{
    enum class Use { Any, Home, Work };
    // Tel1 and Tel2 are numbers a file names for those fields of the entry itself (this program's own CSV).
    enum class Kind { Voice, Cell, Fax, Pager, Tel1, Tel2 };
    struct Number
    {
        Kind kind = Kind::Voice;
        Use use = Use::Any;
        QString value; // as the file wrote it
        QString field; // the property or column it came from, for reports
    };
    struct Address
    {
        Use use = Use::Any;
        QString street, city, state, zip, country;
        QString shown; // the whole, as a report names it
        QString field;
    };

    // A reader keeps at most this many numbers of one contact; the others are reported as they are read, so a
    // card of a million numbers takes no more memory than one of a few.
    static constexpr qsizetype kNumbersKept = 32;

    QString book;           // the book a file names ("Personal", "Business", or another word); empty when none
    QString given;          // the given (first) name
    QString family;         // the family (last) name
    QString formatted;      // the whole name as written (FN, a "Name" column): used when there is neither of those
    QString organisation;   // the company
    QStringList additional; // middle names: an entry has no place for them
    QString additionalField;
    QList<Number> numbers;
    QList<Address> addresses;
    QMap<QString, int> unplaced; // values with no place in an entry, counted by kind ("e-mail", "notes", ...)
};
