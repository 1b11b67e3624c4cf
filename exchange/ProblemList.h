#pragma once

#include <QList>
#include <QString>

// A value that could not be carried over as it was, and what is done with it. Readers and the fitting of values
// to the columns report every such value; nothing is dropped without one.
struct ExchangeProblem
{
    int record = 0; // 1-based card or row in the file; 0 for the file as a whole
    QString field;  // the column or property concerned; empty for a whole record
    QString value;  // the value as it was read
    QString action; // what happens to it, e.g. "left out", "cut to 25 characters"
    int file = 0;   // which file of an import it was read from (0 for the first)
    int count = 1;  // the values it stands for ("28 values left out: the directory has no place for them")
};
Q_DECLARE_TYPEINFO(ExchangeProblem, Q_RELOCATABLE_TYPE);

// The problems of a read in the order of their records (the file's own, record 0, first; a record's in the order
// they were met), each file's after those of the files before. A file can hold millions of them (a card with a
// million numbers, a row of broken quotes repeated), so the first kKept are kept and the rest only counted: memory
// stays bounded, and the summary names as many as anyone reads.
class ProblemList
{
public:
    static constexpr qsizetype kKept = 1000;
    // The characters of a value kept with its problem; a longer one (a whole unreadable line) is cut, since no more
    // than its start is ever shown.
    static constexpr qsizetype kValueShown = 256;

    // Keeps the problem when it is among the first kKept by record (its value cut to kValueShown characters);
    // otherwise counts it.
    void append(const ExchangeProblem& problem);
    ProblemList& operator<<(const ExchangeProblem& problem)
    {
        append(problem);
        return *this;
    }
    // The problems of another part of the same file, each where its record puts it.
    void append(const ProblemList& other);
    // The problems of another file (or another stage of a read that comes after all of this one), after all here,
    // whatever their records; `note`, when given, is added to each action (", in which file"), and `file` marks
    // each as that file's.
    void appendAfter(const ProblemList& other, const QString& note = QString(), int file = 0);

    // Every problem, kept or counted.
    qsizetype total() const { return m_kept.size() + m_leftOut; }
    bool isEmpty() const { return total() == 0; }
    // Those counted and not kept.
    qsizetype leftOut() const { return m_leftOut; }
    // The values all of them stand for, kept or counted: a problem may stand for several.
    qsizetype values() const { return m_values; }
    // Drops the kept problems `drop` is true for (those of entries that are not imported).
    template <class Predicate> void removeIf(Predicate drop)
    {
        for (qsizetype i = m_kept.size() - 1; i >= 0; --i) {
            if (drop(m_kept.at(i))) {
                m_values -= m_kept.at(i).count;
                m_kept.removeAt(i);
                if (i < m_section)
                    --m_section;
            }
        }
    }

    // The kept problems, in order.
    const QList<ExchangeProblem>& list() const { return m_kept; }
    qsizetype size() const { return m_kept.size(); }
    const ExchangeProblem& at(qsizetype i) const { return m_kept.at(i); }
    const ExchangeProblem& constFirst() const { return m_kept.constFirst(); }
    const ExchangeProblem& constLast() const { return m_kept.constLast(); }
    QList<ExchangeProblem>::const_iterator begin() const { return m_kept.cbegin(); }
    QList<ExchangeProblem>::const_iterator end() const { return m_kept.cend(); }

private:
    qsizetype valuesKept() const;

    QList<ExchangeProblem> m_kept;
    qsizetype m_leftOut = 0;
    qsizetype m_values = 0;
    qsizetype m_section = 0; // where the problems of the latest file start; those before stay ahead of them
};
