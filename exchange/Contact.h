#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <iterator>

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

    // The twelve fields in the order of tblTel's columns.
    static constexpr QString Contact::*kFields[] = {&Contact::category, &Contact::fname, &Contact::lname,
                                                    &Contact::busName,  &Contact::address, &Contact::city,
                                                    &Contact::state,    &Contact::zip,   &Contact::tel1,
                                                    &Contact::tel2,     &Contact::pel,   &Contact::fax};
    // The twelve values in that order, and back (a list of another length gives an empty contact).
    QStringList values() const
    {
        QStringList list;
        for (QString Contact::*field : kFields)
            list << this->*field;
        return list;
    }
    static Contact fromValues(const QStringList& values)
    {
        Contact c;
        if (values.size() == qsizetype(std::size(kFields))) {
            for (std::size_t i = 0; i < std::size(kFields); ++i)
                c.*kFields[i] = values.at(qsizetype(i));
        }
        return c;
    }
};
// Lists of contacts grow by moving their bytes (QString is relocatable): a list of a million entries never needs
// twice its size while it grows.
Q_DECLARE_TYPEINFO(Contact, Q_RELOCATABLE_TYPE);
