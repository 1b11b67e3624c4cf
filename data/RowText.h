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

    Ref append(const Values& values);
    // The row's values, pointing into the store.
    Values values(Ref ref) const;

private:
    // Each value is its length in bytes (seven bits a byte, the last byte below 0x80), then its bytes. No row
    // straddles two chunks.
    struct Chunk
    {
        std::unique_ptr<char, void (*)(void*)> bytes{nullptr, std::free};
        std::size_t size = 0;
        std::size_t capacity = 0;
    };
    std::vector<Chunk> m_chunks;
};
