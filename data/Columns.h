#pragma once

#include "data/Contact.h"

#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>

// The twelve columns of tblTel, one row each, in the order of the table's columns: every list of them (the schema,
// the search, the sync's agreed values, the exchange formats' mapping, the grids' masks) is read off this table.
namespace Columns {

// The entry window's input masks, with their blank: "9" takes a digit.
inline constexpr char kTelephoneMask[] = "999 - 9999999;_";
inline constexpr char kZipMask[] = "99999;_";

struct Column
{
    const char* name;        // as the file names it
    int width;               // the longest text the file takes in it
    const char* mask;        // the input mask the entry window and the grids type it into; empty for plain text
    bool searched;           // the free-text search reads it
    QString Contact::*field; // where a Contact carries it
    int oldPlace;            // its place among the columns of the old program's tblTel
    const char* writtenOut;  // its name in a sentence ("Edit of Telephone 1"), to be translated in "Columns"

    QLatin1String columnName() const { return QLatin1String(name); }
    bool masked() const { return *mask != '\0'; }
};

// The widths are the longest texts the entry window lets a user type.
inline constexpr std::array<Column, 12> kAll{{
    {"Category", 8, "", false, &Contact::category, 3, QT_TRANSLATE_NOOP("Columns", "Book")},
    {"Fname", 15, "", true, &Contact::fname, 0, QT_TRANSLATE_NOOP("Columns", "First Name")},
    {"Lname", 25, "", true, &Contact::lname, 1, QT_TRANSLATE_NOOP("Columns", "Last Name")},
    {"BusName", 30, "", true, &Contact::busName, 2, QT_TRANSLATE_NOOP("Columns", "Business Name")},
    {"Address", 50, "", true, &Contact::address, 4, QT_TRANSLATE_NOOP("Columns", "Address")},
    {"City", 30, "", true, &Contact::city, 5, QT_TRANSLATE_NOOP("Columns", "City")},
    {"State", 2, "", true, &Contact::state, 6, QT_TRANSLATE_NOOP("Columns", "State")},
    {"Zip", 5, kZipMask, true, &Contact::zip, 7, QT_TRANSLATE_NOOP("Columns", "Zip Code")},
    {"Tel1", 13, kTelephoneMask, true, &Contact::tel1, 8, QT_TRANSLATE_NOOP("Columns", "Telephone 1")},
    {"Tel2", 13, kTelephoneMask, true, &Contact::tel2, 9, QT_TRANSLATE_NOOP("Columns", "Telephone 2")},
    {"Pel", 13, kTelephoneMask, true, &Contact::pel, 10, QT_TRANSLATE_NOOP("Columns", "Cellular")},
    {"Fax", 13, kTelephoneMask, true, &Contact::fax, 11, QT_TRANSLATE_NOOP("Columns", "Fax")},
}};
inline constexpr int kCount = int(kAll.size());

// The column that carries `field`; the table holds every field of a Contact.
constexpr const Column& of(QString Contact::*field)
{
    for (const Column& column : kAll) {
        if (column.field == field)
            return column;
    }
    return kAll[0];
}

constexpr int searchedCount()
{
    int n = 0;
    for (const Column& column : kAll)
        n += column.searched ? 1 : 0;
    return n;
}
// The names of the searched columns, in the table's order.
constexpr std::array<const char*, searchedCount()> searchedNames()
{
    std::array<const char*, searchedCount()> names{};
    std::size_t n = 0;
    for (const Column& column : kAll) {
        if (column.searched)
            names[n++] = column.name;
    }
    return names;
}

// The column of that name, letter case ignored (as SQLite names columns); null for any other name.
const Column* named(QStringView name);
// The names in the table's order.
const QStringList& names();
// The names in the order of the old program's tblTel (Fname, Lname, BusName, Category, ...): its files are read,
// and their problems listed, in that order.
const QStringList& oldNames();
// The column's name in a sentence, translated.
QString writtenOut(const Column& column);

} // namespace Columns
