#pragma once

#include <cstdint>
#include <vector>

// How a grid gets the keys of its rows, a batch at a time, in the record set's order. The grid model keeps the keys
// it was given and tells its views; a reader only reads. CursorKeys walks the record set's cursor from its first
// row; BookKeys reads a whole book in key order by short statements from both ends.
class KeyReader
{
public:
    virtual ~KeyReader() = default;

    // Up to `limit` keys following those read forward so far; fewer when no more are left. Throws DbError.
    virtual std::vector<std::int64_t> readForward(int limit) = 0;
    // Up to `limit` keys before those read backward so far, from the last row on, the last one first. A reader
    // that reads forward only gives none.
    virtual std::vector<std::int64_t> readBackward(int limit);
    // Up to `limit` keys from the `offset`th row on, counted from the first row, or from the last one backward
    // (`fromEnd`, the last one first), without moving what was read so far. A reader that cannot count off rows
    // gives none.
    virtual std::vector<std::int64_t> readAt(int offset, int limit, bool fromEnd);
    // Nothing is left to read between what was read forward and what was read backward.
    virtual bool atEnd() const = 0;
};
