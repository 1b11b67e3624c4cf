#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One directory entry as text: the twelve columns of tblTel (see Columns), as the exchange formats and the sync
// carry it.
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

    // The twelve values in the order of tblTel's columns (Columns::kAll), and back (a list of another length gives
    // an empty contact).
    QStringList values() const;
    static Contact fromValues(const QStringList& values);
};
// Lists of contacts grow by moving their bytes (QString is relocatable): a list of a million entries never needs
// twice its size while it grows.
Q_DECLARE_TYPEINFO(Contact, Q_RELOCATABLE_TYPE);
