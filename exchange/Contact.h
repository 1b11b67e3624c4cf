#pragma once

#include "StoredRows.h"

#include <QList>
#include <QString>

// One directory entry as the exchange formats carry it: the twelve columns of tblTel, as text.
struct Contact
{
    QString category; // "Personal" or "Business"
    QString fname;
    QString lname;
    QString busName;
    QString address;
    QString city;
    QString state;
    QString zip;
    QString tel1;
    QString tel2;
    QString pel; // cellular
    QString fax;
};

// A value that could not be carried over as it was, and what is done with it. Readers and the fitting of values
// to the columns report every such value; nothing is dropped without one.
struct ExchangeProblem
{
    int record = 0;  // 1-based card or row in the file; 0 for the file as a whole
    QString field;   // the column or property concerned; empty for a whole record
    QString value;   // the value as it was read
    QString action;  // what happens to it, e.g. "left out", "cut to 25 characters"
};

// What a reader found in a file: the contacts in file order and every problem met on the way.
struct ReadResult
{
    QList<Contact> contacts;
    QList<ExchangeProblem> problems;
    // Messages for the log (an old program's data file holds them), in their stored forms.
    QList<StoredRows::Row> messages;
};
