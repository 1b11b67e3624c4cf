#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// One property of a card, unfolded and decoded: "item1.TEL;TYPE=CELL:050-1234567".
struct VCardLine
{
    QString group;                         // "item1"; empty when the line has none
    QString name;                          // upper-cased: "TEL"
    QMap<QString, QStringList> parameters; // upper-cased names; values as written, quotes removed
    QString value;                         // the text, escapes resolved; empty for pictures and other binaries
    QStringList components;                // the text split at the semicolons the file did not escape

    // True when one of the TYPE values is `type`, letter case ignored (files write "CELL", "cell" and "Cell").
    bool hasType(const QString& type) const;
};
