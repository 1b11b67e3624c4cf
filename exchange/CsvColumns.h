#pragma once

#include "data/Contact.h"
#include "exchange/FullContact.h"
#include "exchange/ProblemList.h"

#include <QMap>
#include <QStringList>
#include <optional>

// What the columns of a CSV file hold, from their names as address books and mail programs write them in the
// header line ("First Name", "Mobile Phone", "Home Postal Code", "Phone 1 - Type" / "Phone 1 - Value", ...), and the
// contact one row of the file makes.
class CsvColumns
{
public:
    enum class Role {
        None,     // not read (e-mail, notes, birthday...)
        Category, // "Personal" or "Business", as this program's own export writes it
        FirstName,
        LastName,
        MiddleName, // no place in an entry: reported
        FullName,   // read only when the row has neither a first nor a last name
        Company,
        Street, // several (street 2, extended address) make one address
        City,
        State,
        Zip,
        Phone, // the first free of Tel1 and Tel2
        Tel1,  // Tel1 itself, before any other number takes it
        Tel2,
        Mobile, // Pel
        Fax,
        PhoneType, // the kind of the number in the value column of the same pair ("Mobile", "Work Fax"...)
        PhoneValue,
        Pager,       // a telephone field only when the others leave one free
        AddressType, // "Home" or "Work" for the address of the same number ("Address 1 - Type")
    };
    struct Column
    {
        Role role = Role::None;
        QString group; // addresses: which one ("home", "business", "address 1"); phone pairs: which pair
    };

    CsvColumns() = default;
    // The columns so named, in file order (a header line, or names the user gave a file without one).
    explicit CsvColumns(const QStringList& names);

    // What a column of that name holds; letter case, spaces and punctuation do not matter.
    static Column classify(const QString& name);
    // Whether a first line of these fields names columns rather than holding an entry: some field is a column name
    // known here and none holds three digits (as a number or a zip would).
    static bool looksLikeHeader(const QStringList& fields);

    const QStringList& names() const { return m_names; }
    const QList<Column>& columns() const { return m_columns; }
    bool readsAnything() const;

    // Counts, by kind ("e-mail", "notes", "country", or the column's name), the values of the row in columns the
    // directory has no place for, so that a summary never says all was carried over when some was not.
    void countUnplaced(const QStringList& fields, QMap<QString, int>& counts) const;

    // Everything one row holds, as read.
    FullContact full(const QStringList& fields, int record, ProblemList& problems) const;
    // The entry of one row (see ContactChoice), nothing when the row holds neither a name nor a number. Values with
    // no place in an entry (a third telephone number, a second address) are reported under `record`; the values
    // of columns the directory has no place for are counted in `unplaced`.
    std::optional<Contact> contact(const QStringList& fields, int record, ProblemList& problems,
                                   QMap<QString, int>& unplaced) const;

private:
    QStringList m_names;
    QList<Column> m_columns;
};
