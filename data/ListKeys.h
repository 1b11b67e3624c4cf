#pragma once

#include "data/KeyReader.h"

#include <algorithm>
#include <memory>

// Keys found beforehand, in their order (a letter's names read from the book's index), given a batch at a time.
class ListKeys : public KeyReader
{
public:
    explicit ListKeys(std::shared_ptr<const std::vector<std::int64_t>> keys) : m_keys(std::move(keys)) {}

    std::vector<std::int64_t> readForward(int limit) override
    {
        const std::size_t end = std::min(m_keys->size(), m_next + std::size_t(std::max(0, limit)));
        std::vector<std::int64_t> keys(m_keys->begin() + std::ptrdiff_t(m_next), m_keys->begin() + std::ptrdiff_t(end));
        m_next = end;
        return keys;
    }
    bool atEnd() const override { return m_next >= m_keys->size(); }

private:
    std::shared_ptr<const std::vector<std::int64_t>> m_keys;
    std::size_t m_next = 0;
};
