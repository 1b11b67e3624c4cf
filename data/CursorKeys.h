#pragma once

#include "data/KeyReader.h"

#include <QHash>
#include <QVariant>

class Recordset;

// The keys of any record set, read by walking its cursor. The values of the first rows come with their keys at no
// extra cost: they are kept in `firstValues` (up to `keepValues` rows in it), where the grid looks for a row's
// values first. A record set that lets go of its cursor (a save, see Recordset::release) ends the keys there.
class CursorKeys : public KeyReader
{
public:
    CursorKeys(::Recordset* rs, QHash<qint64, QVector<QVariant>>& firstValues, int keepValues);

    QVector<qint64> readForward(int limit) override;
    bool atEnd() const override;

private:
    ::Recordset* m_rs;
    QHash<qint64, QVector<QVariant>>& m_firstValues;
    int m_keepValues;
};
