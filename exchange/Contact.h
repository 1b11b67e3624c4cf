#pragma once

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
// Lists of contacts grow by moving their bytes (QString is relocatable): a list of a million entries never needs
// twice its size while it grows.
Q_DECLARE_TYPEINFO(Contact, Q_RELOCATABLE_TYPE);
