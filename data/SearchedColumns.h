#pragma once

#include "data/Columns.h"

// The eleven columns of tblTel the free-text search tests (Columns::Column::searched), in the order of its
// statement. The search's copy in memory holds them in this order, and a result block shows them in it: each of
// those sizes itself by kCount.
namespace SearchedColumns {

inline constexpr auto kNames = Columns::searchedNames();
inline constexpr int kCount = int(kNames.size());

// The place of a column among them (letter case ignored, as SQLite names columns); -1 for one not searched.
inline int indexOf(const QString& name)
{
    for (int c = 0; c < kCount; ++c) {
        if (name.compare(QLatin1String(kNames[std::size_t(c)]), Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

// The statement that reads the searched columns of one row of tblTel, in this order, by its key (the one parameter).
inline QString selectByKey()
{
    QString sql = QStringLiteral("SELECT ");
    for (std::size_t c = 0; c < kNames.size(); ++c)
        sql += (c > 0 ? QStringLiteral(", ") : QString()) + QLatin1String(kNames[c]);
    return sql + QStringLiteral(" FROM tblTel WHERE ID = ?");
}

} // namespace SearchedColumns
