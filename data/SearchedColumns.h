#pragma once

#include <array>

// The eleven columns of tblTel the free-text search tests, in the order of its statement. The search's copy in
// memory holds them in this order, and a result block shows them in it: each of those sizes itself by kCount.
namespace SearchedColumns {

inline constexpr std::array<const char*, 11> kNames{"Fname", "Lname", "BusName", "Address", "City", "State",
                                                    "Zip",   "Tel1",  "Tel2",    "Pel",     "Fax"};
inline constexpr int kCount = int(kNames.size());

} // namespace SearchedColumns
