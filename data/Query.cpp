#include "data/Query.h"

#include "data/Book.h"
#include "data/BookLetters.h"
#include "data/MessageLog.h"
#include "data/SearchedColumns.h"

Query Query::book(const Book& book)
{
    return Query(Kind::Book, &book, QString());
}

Query Query::letter(const Book& book, const QString& letter)
{
    return Query(Kind::Letter, &book, letter);
}

Query Query::search(const QString& text)
{
    return Query(Kind::Search, nullptr, text);
}

Query Query::entries()
{
    return Query(Kind::Entries, nullptr, QString());
}

Query Query::log(const LogFilter& filter)
{
    Query query(Kind::Log, nullptr, QString());
    query.m_filter = filter;
    return query;
}

namespace {

// The text as a pattern of the statement dialect that holds it literally anywhere.
QString holding(const QString& text)
{
    QString pattern = QStringLiteral("*");
    for (const QChar ch : text) {
        if (ch == QLatin1Char('*') || ch == QLatin1Char('?') || ch == QLatin1Char('#') || ch == QLatin1Char('['))
            pattern += QLatin1Char('[') + ch + QLatin1Char(']');
        else
            pattern += ch;
    }
    return pattern + QLatin1Char('*');
}

} // namespace

QVariantList Query::parameters() const
{
    QVariantList values;
    if (m_kind != Kind::Log)
        return values;
    if (!m_filter.forName.isEmpty())
        values << m_filter.forName;
    if (!m_filter.text.isEmpty())
        values << holding(m_filter.text);
    return values;
}

QString Query::letterPattern() const
{
    const QString forms = BookLetters::forms(m_text);
    return (forms.size() > 1 ? QLatin1Char('[') + forms + QLatin1Char(']') : forms) + QLatin1Char('*');
}

QString Query::statement() const
{
    switch (m_kind) {
    case Kind::Book:
        return QStringLiteral("SELECT * FROM tblTel WHERE Category = '") + m_book->name() +
               QStringLiteral("' ORDER BY ") + m_book->sortColumn();
    case Kind::Letter:
        // The book and the letter come from the book selector's items and the buttons' captions, never from typing.
        return QStringLiteral("SELECT * FROM tblTel WHERE Category = '") + m_book->name() + QStringLiteral("' AND ") +
               m_book->sortColumn() + QStringLiteral("  LIKE '") + letterPattern() + QLatin1Char('\'');
    case Kind::Search: {
        // An apostrophe would end the quoted pattern early, break the statement and let the rest of the text be
        // read as statement text; doubled, it stands for itself, so O'Brien finds O'Brien.
        QString text = m_text;
        text.replace(QLatin1Char('\''), QLatin1String("''"));
        // The columns are told apart by their place, not by the address of their names: the same literal may
        // have another address in another part of the program.
        QString sql = QStringLiteral("SELECT * FROM tblTel WHERE ");
        for (std::size_t c = 0; c < SearchedColumns::kNames.size(); ++c) {
            if (c > 0)
                sql += QStringLiteral(" OR ");
            sql += QLatin1Char('(') + QLatin1String(SearchedColumns::kNames[c]) + QStringLiteral(" LIKE '*") + text +
                   QStringLiteral("*')");
        }
        return sql;
    }
    case Kind::Entries:
        return QStringLiteral("SELECT * FROM tblTel");
    case Kind::Log: {
        // The values are bound in the order of parameters().
        QStringList tests;
        if (!m_filter.forName.isEmpty())
            tests << QStringLiteral("Avur = ?");
        if (!m_filter.text.isEmpty())
            tests << QStringLiteral("(Meet LIKE ?1 OR Avur LIKE ?1 OR Hodaa LIKE ?1)")
                         .replace(QStringLiteral("?1"), QStringLiteral("?%1").arg(tests.size() + 1));
        if (m_filter.openOnly)
            tests << QStringLiteral("NOT ") + MessageLog::doneCondition();
        return QStringLiteral("SELECT * FROM tblMes ") +
               (tests.isEmpty() ? QString()
                                : QStringLiteral("WHERE ") + tests.join(QStringLiteral(" AND ")) + QLatin1Char(' ')) +
               QStringLiteral("ORDER BY Cdate DESC");
    }
    }
    return QString();
}

std::string Query::searchPattern() const
{
    return (QLatin1Char('*') + m_text + QLatin1Char('*')).toStdString();
}
