#include "data/SavedCopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <xxhash.h>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

constexpr char kMagic[8] = {'T', 'o', 'v', 'S', 'C', 'o', 'p', 'y'};
constexpr std::uint32_t kFormat = 2;
constexpr std::uint32_t kByteOrder = 0x01020304;

struct Header
{
    char magic[8];
    std::uint32_t format;
    std::uint32_t byteOrder;
    std::int64_t schemaVersion;
    std::int64_t logSeq;
    std::uint64_t textBytes;
    std::uint64_t rows;
    std::uint64_t irregular;
    std::uint64_t pathBytes; // the file's absolute path follows the header, in UTF-8
    std::uint64_t digest;    // of everything after the path
};

// The header and the path of the file a kept copy is of; false for a file that is no kept copy.
bool readHeader(QFile& file, Header& header, QByteArray& path)
{
    if (file.read(reinterpret_cast<char*>(&header), sizeof header) != qint64(sizeof header) ||
        std::memcmp(header.magic, kMagic, sizeof kMagic) != 0 || header.format != kFormat ||
        header.byteOrder != kByteOrder || header.pathBytes > 65536)
        return false;
    path = file.read(qint64(header.pathBytes));
    return path.size() == qint64(header.pathBytes);
}

// Copies of files that are no longer there are removed, as the folder would otherwise only grow.
void removeOrphans(const QDir& folder)
{
    for (const QFileInfo& entry : folder.entryInfoList({QStringLiteral("*.copy")}, QDir::Files)) {
        QFile file(entry.filePath());
        Header header{};
        QByteArray path;
        if (file.open(QIODevice::ReadOnly) && readHeader(file, header, path) &&
            !QFileInfo::exists(QString::fromUtf8(path))) {
            file.close();
            QFile::remove(entry.filePath());
        }
    }
}

// A digest that tells a damaged file from the one written, at the speed of reading memory (the copy of a million
// rows is a hundred megabytes): xxHash's XXH3, streamed. It guards against damage, not against someone who may
// write the user's files.
class Digest
{
public:
    Digest() : m_state(XXH3_createState(), XXH3_freeState)
    {
        if (!m_state)
            throw std::bad_alloc();
        XXH3_64bits_reset(m_state.get());
    }
    void add(const void* data, std::size_t bytes) { XXH3_64bits_update(m_state.get(), data, bytes); }
    std::uint64_t value() const { return XXH3_64bits_digest(m_state.get()); }

private:
    std::unique_ptr<XXH3_state_t, XXH_errorcode (*)(XXH3_state_t*)> m_state;
};

// Blocks are digested a piece at a time, so that loading digests each piece while it is fresh in the processor's
// cache; saving digests them in the same pieces.
constexpr std::size_t kPiece = std::size_t(1) << 20;

// Room for a large block is asked for in huge pages where the system has them: a hundred megabytes otherwise take
// some tens of thousands of page faults to fill.
void preferHugePages(void* data, std::size_t bytes)
{
#if defined(__linux__)
    constexpr std::uintptr_t kHuge = std::uintptr_t(2) << 20;
    const auto from = (reinterpret_cast<std::uintptr_t>(data) + kHuge - 1) & ~(kHuge - 1);
    const auto to = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kHuge - 1);
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

template <typename T> std::size_t bytesOf(const T& container)
{
    return std::size_t(container.size()) * sizeof(*container.data());
}

// The blocks of a copy in the order the file holds them after its header and path: the one list saving and loading
// follow. Saving reads the keys through const access, so that keys shared with a search's list are not copied.
template <bool Filling> auto blocksOf(const SavedCopy::Parts& parts)
{
    using Data = std::conditional_t<Filling, void*, const void*>;
    Data keys;
    if constexpr (Filling)
        keys = parts.keys.data();
    else
        keys = parts.keys.constData();
    return std::array<std::pair<Data, std::size_t>, 5>{{{parts.text.data(), parts.text.size()},
                                                        {parts.rowStart.data(), bytesOf(parts.rowStart)},
                                                        {keys, bytesOf(parts.keys)},
                                                        {parts.flags.data(), bytesOf(parts.flags)},
                                                        {parts.irregular.data(), bytesOf(parts.irregular)}}};
}

} // namespace

QString SavedCopy::pathFor(const QString& database)
{
    const QByteArray name =
        QCryptographicHash::hash(QFileInfo(database).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/tovrin/search/") +
           QString::fromLatin1(name) + QStringLiteral(".copy");
}

void SavedCopy::save(const QString& database, const Parts& parts)
{
    const QString path = pathFor(database);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return;
    removeOrphans(QFileInfo(path).absoluteDir());
    const QByteArray databasePath = QFileInfo(database).absoluteFilePath().toUtf8();
    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.format = kFormat;
    header.byteOrder = kByteOrder;
    header.schemaVersion = parts.schemaVersion;
    header.logSeq = parts.logSeq;
    header.textBytes = parts.text.size();
    header.rows = std::uint64_t(parts.keys.size());
    header.irregular = parts.irregular.size();
    header.pathBytes = std::uint64_t(databasePath.size());
    const auto blocks = blocksOf<false>(parts);
    Digest digest;
    for (const auto& [data, bytes] : blocks) {
        for (std::size_t at = 0; at < bytes; at += kPiece)
            digest.add(static_cast<const char*>(data) + at, std::min(kPiece, bytes - at));
    }
    header.digest = digest.value();

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(reinterpret_cast<const char*>(&header), sizeof header);
    file.write(databasePath);
    for (const auto& [data, bytes] : blocks)
        file.write(static_cast<const char*>(data), qint64(bytes));
    file.commit(); // a failed write leaves the copy kept before, or none
}

bool SavedCopy::load(const QString& database, const Parts& parts)
{
    QFile file(pathFor(database));
    Header header{};
    QByteArray path;
    if (!file.open(QIODevice::ReadOnly) || !readHeader(file, header, path) ||
        path != QFileInfo(database).absoluteFilePath().toUtf8() || header.textBytes > UINT32_MAX ||
        header.rows > UINT32_MAX || header.irregular > UINT32_MAX)
        return false;
    const std::uint64_t expected = sizeof header + header.pathBytes + header.textBytes + (header.rows + 1) * 4 +
                                   header.rows * 9 + header.irregular * 8;
    if (std::uint64_t(file.size()) != expected)
        return false;
    parts.text.clear();
    parts.text.reserve(header.textBytes);
    preferHugePages(parts.text.data(), parts.text.capacity());
    parts.text.resize(header.textBytes);
    parts.rowStart.resize(header.rows + 1);
    parts.keys.resize(qsizetype(header.rows));
    parts.flags.resize(header.rows);
    parts.irregular.resize(header.irregular);
    const auto blocks = blocksOf<true>(parts);
    Digest digest;
    for (const auto& [data, bytes] : blocks) {
        for (std::size_t at = 0; at < bytes; at += kPiece) {
            char* piece = static_cast<char*>(data) + at;
            const std::size_t size = std::min(kPiece, bytes - at);
            if (file.read(piece, qint64(size)) != qint64(size))
                return false;
            digest.add(piece, size);
        }
    }
    if (digest.value() != header.digest)
        return false;
    // What the search walks by must hold together: rows in order inside the text, keys rising.
    const auto& starts = parts.rowStart;
    if (starts.front() != 0 || starts.back() != parts.text.size() || !std::is_sorted(starts.begin(), starts.end()) ||
        std::adjacent_find(parts.keys.cbegin(), parts.keys.cend(), std::greater_equal<>()) != parts.keys.cend() ||
        std::adjacent_find(parts.irregular.cbegin(), parts.irregular.cend(), std::greater_equal<>()) !=
            parts.irregular.cend())
        return false;
    parts.schemaVersion = header.schemaVersion;
    parts.logSeq = header.logSeq;
    return true;
}
