#include "Goals.h"

#include <cstring>
#include <optional>

namespace {

// One goal. A goal in "×" holds the figure's ratio to its anchor; in "ms" or "MB" the figure itself.
struct Goal
{
    const char* action;     // as users would name it
    const char* figure;     // the figure measured
    const char* anchorName; // what the anchor is
    const char* anchor;     // the anchor's figure, in the figure's unit
    const char* unit;       // "ms", "MB" or "×"
    double goal;            // the most the figure (or the ratio) may be
    const char* before;     // the figure when the goal was set
};

// A row is one line here.
const Goal kGoals[] = {
    {"the first search of a run, 1,000,000 entries, typed the moment the window is up (the copy kept from the run "
     "before)",
     "1000000/first-search",
     "memmem over the text in memory", "1000000/memory-rare", "ms", 100, "2,515 ms"},
    {"a letter's complete list, 1,000,000 entries (K), once the search's copy is read", "1000000/letter-last-copy",
     "stock SQLite, a rare word", "1000000/stock-rare", "ms", 16, "188 ms"},
    {"a screen in the middle of the book, 1,000,000 entries (scroll bar dragged)", "1000000/book-middle",
     "stock SQLite, a rare word", "1000000/stock-rare", "ms", 16, "55.6 ms"},
    {"peak memory with a book open and every row listed by a search, 1,000,000 entries", "1000000/peak-search",
     "the process alone", "1000000/peak-process", "MB", 150, "225.7 MB"},
    {"start-up, 100,000 entries, to the first paint", "startup/program", "a trivial Qt window", "startup/trivial", "×",
     1.3, "× 1.76"},
};

std::optional<double> find(const Goals::Figures& figures, const char* name)
{
    const auto it = figures.find(QLatin1String(name));
    if (it == figures.end() || it->second < 0)
        return std::nullopt;
    return it->second;
}

QString number(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : value < 100 ? 1 : 0);
}

QString withUnit(const QString& value, const char* unit)
{
    return std::strcmp(unit, "×") == 0 ? QStringLiteral("× %1").arg(value)
                                       : QStringLiteral("%1 %2").arg(value, QString::fromUtf8(unit));
}

QString withUnit(double value, const char* unit)
{
    return withUnit(number(value), unit);
}

} // namespace

QStringList Goals::table(const Figures& figures)
{
    QStringList lines{QStringLiteral("| action | measured | anchor | goal | before | verdict |"),
                      QStringLiteral("|---|--:|---|--:|--:|---|")};
    for (const Goal& goal : kGoals) {
        const std::optional<double> figure = find(figures, goal.figure);
        const std::optional<double> anchor = find(figures, goal.anchor);
        const bool ratio = std::strcmp(goal.unit, "×") == 0;
        // A ratio's figures are times; the anchor reads in ms.
        const char* figureUnit = ratio ? "ms" : goal.unit;
        QString measured = QStringLiteral("–");
        QString verdict = QStringLiteral("NOT MEASURED");
        if (figure && (!ratio || anchor)) {
            const double value = ratio ? *figure / *anchor : *figure;
            measured = ratio ? QStringLiteral("%1 (%2)").arg(withUnit(value, goal.unit), withUnit(*figure, "ms"))
                             : withUnit(value, goal.unit);
            verdict = value <= goal.goal ? QStringLiteral("PASS") : QStringLiteral("MISS");
        }
        const QString anchorText = QStringLiteral("%1: %2").arg(
            QString::fromUtf8(goal.anchorName), anchor ? withUnit(*anchor, figureUnit) : QStringLiteral("–"));
        lines << QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 |")
                     .arg(QString::fromUtf8(goal.action), measured, anchorText,
                          (ratio ? QStringLiteral("within ") : QStringLiteral("under ")) +
                              withUnit(QString::number(goal.goal), goal.unit),
                          QString::fromUtf8(goal.before), verdict);
    }
    return lines;
}
