#include "exchange/JetReader.h"

// libmdb's header includes glib's inside extern "C", which C++ refuses; glib first makes that include a no-op.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <glib.h>
#include <initializer_list>
#include <mdbtools.h>
#include <string>
#include <strings.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

// The largest file read; anything larger is no directory file.
constexpr std::size_t kLargestFile = std::size_t(256) << 20;
// Every value is copied into a buffer of this size. libmdb cuts longer values without a word, so a value that
// fills the buffer is refused rather than passed on cut.
constexpr std::size_t kBindSize = std::size_t(8) << 20;
// Bounds for a reader gone astray in a damaged file (the reading side also times it out).
constexpr rlim_t kMemoryLimit = rlim_t(1536) << 20;
constexpr rlim_t kCpuSeconds = 300;

std::string s_out;

void token(char kind, const char* data, std::size_t length)
{
    s_out += kind;
    s_out += std::to_string(length);
    s_out += ':';
    s_out.append(data, length);
}

void token(char kind, const std::string& value)
{
    token(kind, value.data(), value.size());
}

void flush()
{
    std::size_t written = 0;
    while (written < s_out.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, s_out.data() + written, s_out.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        written += std::size_t(n);
    }
    s_out.clear();
}

// The program that started the reader says why in the user's language: the reason goes as its English text
// with %1, %2... and the values that fill them, each after a unit separator.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

[[noreturn]] void fail(const char* why, std::initializer_list<std::string> values = {})
{
    std::string reason = why;
    for (const std::string& value : values)
        reason += '\x1f' + value;
    token('X', reason);
    flush();
    std::_Exit(1);
}

bool named(const char* name, const char* wanted)
{
    return ::strcasecmp(name, wanted) == 0;
}

// Whether every page of a memo value is there. libmdb gives the part it found, or an empty text, when a page the
// value goes on to is missing: its length, kept before the value, tells.
bool memoWhole(MdbHandle* mdb, const MdbField& field)
{
    constexpr int kOverhead = 12; // the length with its flags, where the rest lies, and 4 bytes unused
    if (field.siz == 0)
        return true;
    if (field.siz < kOverhead || field.start < 0 || field.start + kOverhead > int(mdb->fmt->pg_size))
        return false;
    const guint32 header = guint32(mdb_get_int32(mdb->pg_buf, field.start));
    const std::size_t length = header & 0x3fffffff;
    const gint32 first = gint32(mdb_get_int32(mdb->pg_buf, field.start + 4));
    void* page = nullptr;
    int start = 0;
    std::size_t size = 0;
    if (header & 0x80000000) // in the row itself
        return std::size_t(field.siz - kOverhead) == length;
    if (header & 0x40000000) // in one row of another page
        return mdb_find_pg_row(mdb, first, &page, &start, &size) == 0 && size >= length;
    if (header & 0xff000000)
        return false;
    // A chain of rows on other pages, each starting with where the next one is.
    std::size_t found = 0;
    int links = 0;
    for (gint32 next = first; next != 0 && found <= length;) {
        if (++links > (1 << 20) || mdb_find_pg_row(mdb, next, &page, &start, &size) != 0 || size < 4)
            return false;
        found += size - 4;
        next = gint32(mdb_get_int32(static_cast<unsigned char*>(page), start));
    }
    return found == length;
}

void readTable(MdbHandle* mdb, MdbCatalogEntry* entry)
{
    MdbTableDef* table = mdb_read_table(entry);
    if (!table)
        fail(QT_TRANSLATE_NOOP("JetReader", "the table %1 cannot be read"), {entry->object_name});
    if (!mdb_read_columns(table) || table->num_cols == 0)
        fail(QT_TRANSLATE_NOOP("JetReader", "the columns of %1 cannot be read"), {entry->object_name});
    mdb_rewind_table(table);
    token('T', entry->object_name);

    const unsigned count = table->num_cols;
    std::vector<std::vector<char>> buffers(count, std::vector<char>(kBindSize));
    std::vector<int> lengths(count, 0);
    std::vector<MdbColumn*> columns(count);
    for (unsigned i = 0; i < count; ++i) {
        columns[i] = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        token('C', std::to_string(columns[i]->col_type) + ' ' + columns[i]->name);
        mdb_bind_column(table, int(i) + 1, buffers[i].data(), &lengths[i]);
    }
    // A row cracked again tells NULL from the empty text, which bind alike, and gives a date's raw value.
    std::vector<MdbField> fields(256);
    unsigned rows = 0;
    while (mdb_fetch_row(table)) {
        ++rows;
        int start = 0;
        std::size_t size = 0;
        if (table->cur_row == 0 || mdb_find_row(mdb, int(table->cur_row) - 1, &start, &size) != 0)
            fail(QT_TRANSLATE_NOOP("JetReader", "a row of %1 cannot be found"), {entry->object_name});
        const int cracked = mdb_crack_row(table, start & 0x1fff, size, fields.data());
        if (cracked <= 0 || cracked > int(fields.size()))
            fail(QT_TRANSLATE_NOOP("JetReader", "a row of %1 cannot be read"), {entry->object_name});
        token('R', "");
        for (unsigned i = 0; i < count; ++i) {
            const MdbField* field = nullptr;
            for (int f = 0; f < cracked; ++f) {
                if (fields[std::size_t(f)].colnum == columns[i]->col_num)
                    field = &fields[std::size_t(f)];
            }
            const int type = columns[i]->col_type;
            if (type == MDB_MEMO && field && !field->is_null && !memoWhole(mdb, *field))
                fail(QT_TRANSLATE_NOOP("JetReader", "a value in %1.%2 is damaged: part of it cannot be read"),
                     {entry->object_name, columns[i]->name});
            // A yes/no value lives in the null mask itself: it has no NULL.
            if (type != MDB_BOOL && (!field || field->is_null)) {
                token('N', "");
            } else if (type == MDB_DATETIME) {
                if (field->siz != 8 || field->start < 0 || field->start + 8 > int(mdb->fmt->pg_size))
                    fail(QT_TRANSLATE_NOOP("JetReader", "a date in %1 cannot be read"), {entry->object_name});
                char text[64];
                std::snprintf(text, sizeof text, "%.17g", mdb_get_double(mdb->pg_buf, field->start));
                token('D', text);
            } else {
                const std::size_t length = std::size_t(std::max(lengths[i], 0));
                if (length + 1 >= kBindSize)
                    fail(QT_TRANSLATE_NOOP("JetReader", "a value in %1.%2 is too long to be read whole"),
                         {entry->object_name, columns[i]->name});
                token('S', buffers[i].data(), std::min(length, std::strlen(buffers[i].data())));
            }
        }
    }
    // libmdb ends a table quietly at a page it cannot read (a file cut short, a page map pointing nowhere): the
    // rows read must be the rows the table's definition counts, or the table is not whole.
    if (rows != table->num_rows)
        fail(QT_TRANSLATE_NOOP("JetReader", "the table %1 is damaged: it holds %2 rows, of which %3 could be read"),
             {entry->object_name, std::to_string(table->num_rows), std::to_string(rows)});
    mdb_free_tabledef(table);
}

// The list of the file's objects is a table itself, read by libmdb with the same quiet end: a list cut short would
// leave a table out unseen.
void checkCatalog(MdbHandle* mdb)
{
    MdbCatalogEntry objects{};
    objects.mdb = mdb;
    objects.object_type = MDB_TABLE;
    objects.table_pg = 2;
    std::strcpy(objects.object_name, "MSysObjects");
    MdbTableDef* table = mdb_read_table(&objects);
    if (!table || !mdb_read_columns(table))
        fail(QT_TRANSLATE_NOOP("JetReader", "its list of tables cannot be read (the file is damaged or encrypted)"));
    mdb_rewind_table(table);
    unsigned rows = 0;
    while (mdb_fetch_row(table))
        ++rows;
    const bool whole = rows == table->num_rows;
    mdb_free_tabledef(table);
    if (!whole)
        fail(QT_TRANSLATE_NOOP("JetReader", "its list of tables is damaged: some of it cannot be read"));
}

} // namespace

int JetReader::run()
{
#ifndef __SANITIZE_ADDRESS__
    // (AddressSanitizer reserves terabytes of address space for its shadow at start: under a limit on the address
    // space nothing more could be mapped.)
    const rlimit memory{kMemoryLimit, kMemoryLimit};
    ::setrlimit(RLIMIT_AS, &memory);
#endif
    const rlimit cpu{kCpuSeconds, kCpuSeconds};
    ::setrlimit(RLIMIT_CPU, &cpu);

    std::vector<char> bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(QT_TRANSLATE_NOOP("JetReader", "the file's bytes did not arrive"));
        if (n == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (bytes.size() > kLargestFile)
            fail(QT_TRANSLATE_NOOP("JetReader", "it is larger than 256 MB"));
    }
    // A file shorter than its first page has no catalog to read; libmdb would read past the end.
    if (bytes.size() < 4096)
        fail(bytes.empty() ? QT_TRANSLATE_NOOP("JetReader", "it is empty")
                           : QT_TRANSLATE_NOOP("JetReader", "it is too short to be an Access database file"));

    // Jet 3 texts are passed on byte for byte; Jet 4 and ACE texts are Unicode and come as UTF-8.
    ::setenv("MDB_JET3_CHARSET", "ISO-8859-1", 1);
    MdbHandle* mdb = mdb_open_buffer(bytes.data(), bytes.size(), MDB_NOFLAGS);
    if (!mdb)
        fail(QT_TRANSLATE_NOOP("JetReader", "it is not an Access database file that can be read"));
    const guint32 version = mdb->f->jet_version;
    token('V', version == MDB_VER_JET3 ? "jet3" : version == MDB_VER_JET4 ? "jet4" : "ace");
    if (version == MDB_VER_JET3)
        token('P', std::to_string(mdb->f->code_page));
    mdb_set_bind_size(mdb, kBindSize);
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        fail(QT_TRANSLATE_NOOP("JetReader", "its list of tables cannot be read (the file is damaged or encrypted)"));
    checkCatalog(mdb);
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || ::strncasecmp(entry->object_name, "MSys", 4) == 0)
            continue;
        if (named(entry->object_name, "tblTel") || named(entry->object_name, "tblMes"))
            readTable(mdb, entry);
        else
            token('O', entry->object_name);
    }
    token('Z', "");
    flush();
    mdb_close(mdb);
    return 0;
}
