#include "exchange/ProblemList.h"

#include <algorithm>

void ProblemList::append(const ExchangeProblem& problem)
{
    // Problems mostly come in record order; a file's own (record 0) may be found last and goes ahead of the others,
    // and so does any problem of an earlier record met late.
    m_values += problem.count;
    qsizetype at = m_kept.size();
    if (at > m_section && m_kept.constLast().record > problem.record) {
        at = std::upper_bound(m_kept.cbegin() + m_section, m_kept.cend(), problem.record,
                              [](int record, const ExchangeProblem& p) { return record < p.record; }) -
             m_kept.cbegin();
    }
    if (m_kept.size() >= kKept) {
        ++m_leftOut;
        if (at == m_kept.size())
            return;
        m_kept.removeLast();
    }
    m_kept.insert(at, problem);
    QString& value = m_kept[at].value;
    if (value.size() > kValueShown) {
        qsizetype cut = kValueShown - 1;
        if (value.at(cut - 1).isHighSurrogate())
            --cut;
        value = value.first(cut) + QChar(0x2026);
    }
}

void ProblemList::append(const ProblemList& other)
{
    for (const ExchangeProblem& problem : other)
        append(problem);
    m_leftOut += other.m_leftOut;
    m_values += other.m_values - other.valuesKept();
}

void ProblemList::appendAfter(const ProblemList& other, const QString& note, int file)
{
    m_section = m_kept.size();
    for (ExchangeProblem problem : other) {
        problem.file = file;
        if (!note.isEmpty())
            problem.action = QStringLiteral("%1 (%2)").arg(problem.action, note);
        append(problem);
    }
    m_leftOut += other.m_leftOut;
    m_values += other.m_values - other.valuesKept();
}

qsizetype ProblemList::valuesKept() const
{
    qsizetype kept = 0;
    for (const ExchangeProblem& problem : m_kept)
        kept += problem.count;
    return kept;
}
