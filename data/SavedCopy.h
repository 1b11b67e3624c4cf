#pragma once

#include <QString>
#include <QVector>
#include <cstdint>
#include <string>
#include <vector>

// The search's copy of a file (see SearchIndex), kept between runs in the user's cache folder, so that the first
// search of a run need not read the whole table. What is kept only says what the file held at some moment: the
// copy is believed only after it is brought up to date from the file's change log and checked against rows of the
// file. A kept copy that is damaged, of another format or of another machine's build reads as none.
namespace SavedCopy {

// The copy's parts, and the facts of the file they were read at.
struct Parts
{
    std::string& text;
    std::vector<std::uint32_t>& rowStart;
    QVector<qint64>& keys;
    std::vector<std::uint8_t>& flags;
    std::vector<qint64>& irregular;
    long long& schemaVersion;
    long long& logSeq;
};

// Where the copy of the file at `database` is kept: a name made from the file's absolute path, in the cache folder.
QString pathFor(const QString& database);
// Keeps the copy; nothing is kept when it cannot be written (a full disk, say): the next run reads the file.
void save(const QString& database, const Parts& parts);
// Fills the parts from the copy kept for `database`; false, with the parts in some state the caller discards, when
// none is kept or it cannot be trusted to be what was saved.
bool load(const QString& database, const Parts& parts);

} // namespace SavedCopy
