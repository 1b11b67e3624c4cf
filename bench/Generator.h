#pragma once

#include <QString>
#include <cstdint>

// Makes the database files the benchmark runs on: both books in tblTel and a message log in tblMes, the same for
// the same number of rows on every machine.
namespace Generator {

// What a file holds besides its bulk: texts planted in a handful of rows, so that the searches for them find
// exactly those rows.
struct Planted
{
    QString rareWord;    // in the address, business name or city of a few rows
    QString phoneDigits; // seven digits in a telephone field of a few rows
    int rareWordRows = 0;
    int phoneRows = 0;
};

// The texts planted in every file.
Planted planted();

// A stamp that changes whenever the files this version would write differ from older ones: the generator's own
// version and the schema's statements.
QString stamp();

// Writes a new file at `path` (which must not exist) with `telRows` rows in tblTel and `mesRows` in tblMes.
void generate(const QString& path, int telRows, int mesRows);

// A small fast random source with a fixed seed, so that every run makes the same rows.
class Rng
{
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next()
    {
        // splitmix64
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < n
    int below(int n) { return int((next() >> 33) % std::uint64_t(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint64_t m_state;
};

} // namespace Generator
