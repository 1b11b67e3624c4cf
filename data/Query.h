#pragma once

#include <QString>
#include <QVariantList>
#include <string>

class Book;

// Which messages the log shows: those left for one person (To, letter case ignored), the open ones only, those whose
// From, To or message holds a text (exactly as typed, letter case ignored). Empty: every message.
struct LogFilter
{
    QString forName;
    bool openOnly = false;
    QString text;
};

// What a window asks its data control for: a whole book, the names of a book that begin with a letter, the entries
// that hold a text, the whole directory table (to append to it), or the message log.
//
// Each request has one statement text, the one the windows store in gRecordSource and give their data controls;
// the data control runs it, or, for a book and a search, reads the same rows its faster way (see DataControl),
// chosen by the kind of request, never by reading the text.
class Query
{
public:
    enum class Kind { Book, Letter, Search, Entries, Log };

    // The whole book, ordered by its sort column.
    static Query book(const Book& book);
    // The names of the book whose sort column begins with `letter` (a letter button's caption). The statement has no
    // order; the data control reads them in the book's order.
    static Query letter(const Book& book, const QString& letter);
    // Both books' entries that hold `text`, exactly as typed, in any of the searched columns. The pattern
    // characters (* ? # [) keep their meaning; an apostrophe stands for itself.
    static Query search(const QString& text);
    // Every entry, for the entry window, which only appends.
    static Query entries();
    // The message log, latest date first; with a filter, the messages it lets through.
    static Query log(const LogFilter& filter = {});

    Kind kind() const { return m_kind; }
    // The book of a book or a letter request; null for the others.
    const Book* book() const { return m_book; }
    // The letter of a letter request, the text of a search; empty for the others.
    const QString& text() const { return m_text; }
    // The LIKE pattern of a letter request: the letter and anything after it ("A*"), or either of a Hebrew letter's
    // two forms ("[כך]*").
    QString letterPattern() const;
    // The statement text of the request.
    QString statement() const;
    // The values the statement's parameters are bound to, in order (a filtered log's).
    QVariantList parameters() const;
    // The LIKE pattern a search tests every searched column with ("*" text "*"), in UTF-8.
    std::string searchPattern() const;

private:
    Query(Kind kind, const Book* book, QString text) : m_kind(kind), m_book(book), m_text(std::move(text)) {}

    Kind m_kind;
    const Book* m_book;
    QString m_text; // the letter, or the search text
    LogFilter m_filter;
};
