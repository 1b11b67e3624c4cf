#pragma once

#include "data/KeyReader.h"
#include "data/KeyRuns.h"

#include <QVariant>
#include <QVector>

class Recordset;

// The keys of any record set, read by walking its cursor. The values of the first rows come with their keys at no
// extra cost: they are kept in `rows` (up to `keepValues` rows), where the grid looks for a row's values first. A
// record set that lets go of its cursor (a save, see Recordset::release) ends the keys there.
class CursorKeys : public KeyReader
{
public:
    CursorKeys(::Recordset* rs, KeyRuns<QVector<QVariant>>& rows, int keepValues);

    std::vector<std::int64_t> readForward(int limit) override;
    bool atEnd() const override;

private:
    ::Recordset* m_rs;
    KeyRuns<QVector<QVariant>>& m_rows;
    std::size_t m_keepValues;
};
