#pragma once

#include "data/Columns.h"

// The eleven columns of tblTel the free-text search tests (Columns::Column::searched), in the order of its
// statement. The search's copy in memory holds them in this order, and a result block shows them in it: each of
// those sizes itself by kCount.
namespace SearchedColumns {

inline constexpr auto kNames = Columns::searchedNames();
inline constexpr int kCount = int(kNames.size());

} // namespace SearchedColumns
