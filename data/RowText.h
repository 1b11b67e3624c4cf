#pragma once

#include "data/SearchedColumns.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The shown text of rows of eleven values, packed as UTF-8 (or whatever bytes the file holds) into chunks that are
// never moved nor rewritten: a row once added stays readable, at the same place, for as long as the store lives.
// So the search's copy of the file and every result list made from it share one store; a list keeps the text its
// rows had when it was made, whatever the copy adds later for rows changed since.
class RowText
{
public:
    static constexpr int kValues = SearchedColumns::kCount;
    using Values = std::array<std::string_view, kValues>;

    // Where a row is: its chunk and the offset in it.
    struct Ref
    {
        std::uint32_t chunk;
        std::uint32_t offset;
    };

    RowText() = default;
    RowText(const RowText&) = delete;
    RowText& operator=(const RowText&) = delete;

    // Adds a row. A value whose bit is set in `asFolded` is the same as the row's folded text of that column (see
    // SearchIndex), which is kept anyway: only that is noted.
    Ref append(const Values& values, unsigned asFolded = 0);
    // The row's values, pointing into the store or into `foldedRow`: the row's folded text, each column ended by
    // 0x1f (needed only when some value was added as folded).
    Values values(Ref ref, std::string_view foldedRow = {}) const;

private:
    // Each value is its length in bytes shifted left by one, or 1 for a value as folded (seven bits a byte, the
    // last byte below 0x80), then its bytes. No row straddles two chunks.
    struct Chunk
    {
        std::unique_ptr<char, void (*)(void*)> bytes{nullptr, std::free};
        std::size_t size = 0;
        std::size_t capacity = 0;
    };
    std::vector<Chunk> m_chunks;
};

// Rows found by a search: where their text is, in the order found. Shared, never copied, by whoever shows them.
struct FoundRows
{
    struct Row
    {
        RowText::Ref shown;
        std::uint32_t folded; // where the row's folded text starts; kNoFolded for none
    };
    static constexpr std::uint32_t kNoFolded = ~std::uint32_t(0);

    std::shared_ptr<const RowText> text;
    std::shared_ptr<const std::string> folded; // never changed where rows point (it only grows)
    std::shared_ptr<const std::vector<Row>> rows;

    std::size_t size() const { return rows ? rows->size() : 0; }
    RowText::Values values(std::size_t row) const;
};
