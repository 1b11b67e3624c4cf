#include "data/RowText.h"

#include <algorithm>
#include <cstring>
#include <new>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

constexpr std::size_t kChunkSize = std::size_t(2) << 20;

char* putLength(char* out, std::size_t length)
{
    while (length >= 0x80) {
        *out++ = char(0x80 | (length & 0x7f));
        length >>= 7;
    }
    *out++ = char(length);
    return out;
}

std::size_t takeLength(const char* in, std::size_t& pos)
{
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(in[pos++]);
        length |= std::size_t(byte & 0x7f) << shift;
        if (byte < 0x80)
            return length;
    }
}

} // namespace

RowText::Ref RowText::append(const Values& values)
{
    std::size_t size = 0;
    for (std::string_view value : values)
        size += value.size() + sizeof(std::size_t) * 8 / 7 + 1;
    if (m_chunks.empty() || m_chunks.back().size + size > m_chunks.back().capacity) {
        Chunk chunk;
        chunk.capacity = (std::max(kChunkSize, size) + kChunkSize - 1) / kChunkSize * kChunkSize;
#if defined(__linux__)
        // A large copy fills its chunks at one page fault per 2 MB rather than per 4 kB.
        chunk.bytes.reset(static_cast<char*>(std::aligned_alloc(kChunkSize, chunk.capacity)));
        if (chunk.bytes)
            madvise(chunk.bytes.get(), chunk.capacity, MADV_HUGEPAGE);
#else
        chunk.bytes.reset(static_cast<char*>(std::malloc(chunk.capacity)));
#endif
        if (!chunk.bytes)
            throw std::bad_alloc();
        m_chunks.push_back(std::move(chunk));
    }
    Chunk& chunk = m_chunks.back();
    const Ref ref{std::uint32_t(m_chunks.size() - 1), std::uint32_t(chunk.size)};
    char* out = chunk.bytes.get() + chunk.size;
    for (int c = 0; c < kValues; ++c) {
        const std::string_view value = values[std::size_t(c)];
        out = putLength(out, value.size());
        if (!value.empty())
            std::memcpy(out, value.data(), value.size());
        out += value.size();
    }
    chunk.size = std::size_t(out - chunk.bytes.get());
    return ref;
}

RowText::Values RowText::values(Ref ref) const
{
    Values values;
    const char* chunk = m_chunks.at(ref.chunk).bytes.get();
    std::size_t pos = ref.offset;
    for (std::string_view& value : values) {
        const std::size_t length = takeLength(chunk, pos);
        value = std::string_view(chunk + pos, length);
        pos += length;
    }
    return values;
}
