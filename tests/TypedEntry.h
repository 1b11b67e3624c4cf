#pragma once

#include "data/Recordset.h"

// Types a new entry into the record set as the entry window does; Update() saves it.
inline void typeEntry(Recordset* rs, const QString& firstName, const QString& lastName,
                      const QString& tel1 = QStringLiteral("04 - 5551234"))
{
    rs->AddNew();
    rs->setCollect(QStringLiteral("Fname"), firstName);
    rs->setCollect(QStringLiteral("Lname"), lastName);
    rs->setCollect(QStringLiteral("BusName"), QStringLiteral(" "));
    rs->setCollect(QStringLiteral("Category"), QStringLiteral("Personal"));
    rs->setCollect(QStringLiteral("Address"), QStringLiteral("12 Herzl St."));
    rs->setCollect(QStringLiteral("City"), QStringLiteral("Haifa"));
    rs->setCollect(QStringLiteral("State"), QString());
    rs->setCollect(QStringLiteral("Zip"), QStringLiteral("_____"));
    rs->setCollect(QStringLiteral("Tel1"), tel1);
    rs->setCollect(QStringLiteral("Tel2"), QStringLiteral("___ - _______"));
    rs->setCollect(QStringLiteral("Pel"), QStringLiteral("___ - _______"));
    rs->setCollect(QStringLiteral("Fax"), QStringLiteral("___ - _______"));
}
