#include "data/CursorKeys.h"

#include "data/Recordset.h"

CursorKeys::CursorKeys(::Recordset* rs, KeyRuns<QVector<QVariant>>& rows, int keepValues)
    : m_rs(rs), m_rows(rows), m_keepValues(std::size_t(keepValues))
{
}

std::vector<std::int64_t> CursorKeys::readForward(int limit)
{
    std::vector<std::int64_t> keys;
    while (!atEnd() && limit-- > 0) {
        const qint64 key = m_rs->currentKey();
        keys.push_back(key);
        if (m_rows.cachedRows() < m_keepValues) {
            QVector<QVariant> values(m_rs->columnCount());
            for (int c = 0; c < values.size(); ++c)
                values[c] = m_rs->value(c);
            m_rows.keep(key, values);
        }
        m_rs->MoveNext();
    }
    return keys;
}

bool CursorKeys::atEnd() const
{
    return !m_rs || m_rs->Eof();
}
