#pragma once

#include <QString>
#include <QStringList>
#include <map>

// The goals set for the program's slowest actions, each held in one run beside its anchor: a table of rows, one
// entry of kGoals (Goals.cpp) each, whose figures are looked up by name among those the run measured.
namespace Goals {

// Figures by name: "<rows>/<action>" (median ms, or MB for memory) and "startup/<program>" (ms to the first paint).
using Figures = std::map<QString, double>;

// The table in Markdown: per goal the figure measured, its anchor, the goal, the figure before the work on it, and
// PASS, MISS or NOT MEASURED (a figure the run did not take, at a size it did not run).
QStringList table(const Figures& figures);

} // namespace Goals
