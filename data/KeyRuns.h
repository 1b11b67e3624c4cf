#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

// The rows of a grid as the keys of their records, in the record set's order, and the values of the rows read
// lately; plain C++, so it is tested alone. It only keeps what it is given: the grid model reads the keys and the
// values and tells its views of every row added or removed before it changes them here.
//
// A list read from its start (a cursor) is one run that grows at its end (append). A whole book is read from both
// ends: once it is counted (extendTo), the rows past those read exist without a key (kNone), and the front run
// [0, front) and the back run [back, rows) fill them from either side (fillFront, fillBack). When nothing is left
// between the runs' bounds, the rows still between them were deleted elsewhere since the count (removeBetween);
// rows read when none are left between them were added elsewhere (insertBetween). A screen far from both runs may
// be given its keys alone by position (fillAt), until a run reaches it.
//
// The values are kept by key for at most `cacheRows` rows; when full, the cache starts afresh.
template <typename Row> class KeyRuns
{
public:
    static constexpr std::int64_t kNone = -1;

    explicit KeyRuns(std::size_t cacheRows) : m_cacheRows(cacheRows) {}

    int rows() const { return int(m_keys.size()); }
    // The key of a row; kNone for a row without one yet, or no row at all.
    std::int64_t keyAt(int row) const { return row >= 0 && row < rows() ? m_keys[std::size_t(row)] : kNone; }
    // The first row holding `key`; -1 when none does.
    int rowOf(std::int64_t key) const
    {
        for (std::size_t row = 0; row < m_keys.size(); ++row) {
            if (m_keys[row] == key)
                return int(row);
        }
        return -1;
    }
    int front() const { return m_front; }
    int back() const { return m_back; }
    bool between(int row) const { return row >= m_front && row < m_back; }
    // A row between the runs lies no farther from the front run's end than from the back run's start.
    bool nearerFront(int row) const { return row - m_front <= m_back - 1 - row; }

    void clear()
    {
        m_keys.clear();
        m_front = m_back = 0;
        m_cache.clear();
    }
    // Rows after the last, read forward; only while no rows lie between the runs (before the count).
    void append(const std::vector<std::int64_t>& keys)
    {
        m_keys.insert(m_keys.end(), keys.begin(), keys.end());
        m_front = m_back = rows();
    }
    // The count: rows up to `count` exist between the runs without a key.
    void extendTo(int count)
    {
        if (count <= rows())
            return;
        m_keys.resize(std::size_t(count), kNone);
        m_back = count;
    }
    // Keys read forward after the front run, at most as many as lie between the runs.
    void fillFront(const std::vector<std::int64_t>& keys)
    {
        for (std::size_t i = 0; i < keys.size() && m_front < m_back; ++i)
            m_keys[std::size_t(m_front++)] = keys[i];
    }
    // Keys read backward before the back run, the last row's first.
    void fillBack(const std::vector<std::int64_t>& keys)
    {
        for (std::size_t i = 0; i < keys.size() && m_back > m_front; ++i)
            m_keys[std::size_t(--m_back)] = keys[i];
    }
    // Keys read by their position, for the rows from `first` on that lie between the runs and hold none yet; the
    // runs write over them when they get there.
    void fillAt(int first, const std::vector<std::int64_t>& keys)
    {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const int row = first + int(i);
            if (between(row) && m_keys[std::size_t(row)] == kNone)
                m_keys[std::size_t(row)] = keys[i];
        }
    }
    void removeBetween()
    {
        m_keys.erase(m_keys.begin() + m_front, m_keys.begin() + m_back);
        m_back = m_front;
    }
    // Rows read forward when none were left between the runs: they join the front run.
    void insertBetween(const std::vector<std::int64_t>& keys)
    {
        m_keys.insert(m_keys.begin() + m_front, keys.begin(), keys.end());
        m_front += int(keys.size());
        m_back += int(keys.size());
    }
    void erase(int row)
    {
        forget(keyAt(row));
        m_keys.erase(m_keys.begin() + row);
        if (row < m_front)
            --m_front;
        if (row < m_back)
            --m_back;
    }
    // Rows whose key an earlier row holds already, in ascending order.
    std::vector<int> laterCopies() const
    {
        std::unordered_set<std::int64_t> seen;
        std::vector<int> copies;
        for (std::size_t row = 0; row < m_keys.size(); ++row) {
            if (m_keys[row] != kNone && !seen.insert(m_keys[row]).second)
                copies.push_back(int(row));
        }
        return copies;
    }

    // The values kept for `key`; null when none are.
    const Row* cached(std::int64_t key) const
    {
        const auto it = m_cache.find(key);
        return it == m_cache.end() ? nullptr : &it->second;
    }
    const Row& keep(std::int64_t key, Row values)
    {
        if (m_cache.size() >= m_cacheRows)
            m_cache.clear();
        return m_cache.insert_or_assign(key, std::move(values)).first->second;
    }
    void forget(std::int64_t key) { m_cache.erase(key); }
    std::size_t cachedRows() const { return m_cache.size(); }

private:
    std::vector<std::int64_t> m_keys;
    int m_front = 0; // m_keys[0, m_front) is the front run
    int m_back = 0;  // m_keys[m_back, end) is the back run
    std::size_t m_cacheRows;
    std::unordered_map<std::int64_t, Row> m_cache;
};
