#include "data/FoundRows.h"

#include "data/Database.h"
#include "data/Statement.h"

#include <QCache>
#include <utility>

// The rows on screen are asked for line by line, many times over: the last ones read are kept until the file
// changes.
struct FoundRows::Reader
{
    static constexpr int kKept = 64;

    std::shared_ptr<Database> db;
    Statement read;
    QCache<qsizetype, Values> kept{kKept};
    long long version = -1;
};

FoundRows::FoundRows(std::shared_ptr<Database> db, QVector<qint64> keys)
    : m_keys(std::move(keys)), m_reader(std::make_shared<Reader>())
{
    m_reader->db = std::move(db);
}

FoundRows::Values FoundRows::values(qsizetype row) const
{
    if (!m_reader || row < 0 || row >= m_keys.size())
        return Values();
    Reader& reader = *m_reader;
    const long long version = reader.db->dataVersion();
    if (version != reader.version) {
        reader.kept.clear();
        reader.version = version;
    }
    if (const Values* kept = reader.kept.object(row))
        return *kept;
    if (!reader.read.isValid())
        reader.read = Statement(reader.db->handle(), SearchedColumns::selectByKey());
    Values values;
    reader.read.reset();
    reader.read.bind(1, m_keys[row]);
    if (reader.read.step()) {
        for (int c = 0; c < SearchedColumns::kCount; ++c) {
            const std::string_view text = reader.read.text(c);
            values[std::size_t(c)] = QString::fromUtf8(text.data(), qsizetype(text.size()));
        }
    }
    reader.read.reset(); // no lock on the file is held between reads
    reader.kept.insert(row, new Values(values));
    return values;
}
