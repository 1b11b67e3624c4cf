#include "data/CursorKeys.h"

#include "data/Recordset.h"

CursorKeys::CursorKeys(::Recordset* rs, QHash<qint64, QVector<QVariant>>& firstValues, int keepValues)
    : m_rs(rs), m_firstValues(firstValues), m_keepValues(keepValues)
{
}

QVector<qint64> CursorKeys::readForward(int limit)
{
    QVector<qint64> keys;
    while (!atEnd() && limit-- > 0) {
        const qint64 key = m_rs->currentKey();
        keys.append(key);
        if (m_firstValues.size() < m_keepValues) {
            QVector<QVariant> values(m_rs->columnCount());
            for (int c = 0; c < values.size(); ++c)
                values[c] = m_rs->value(c);
            m_firstValues.insert(key, values);
        }
        m_rs->MoveNext();
    }
    return keys;
}

bool CursorKeys::atEnd() const
{
    return !m_rs || m_rs->Eof();
}
