#pragma once

#include <QString>

// The program's work without windows: contacts in and out of the directory, a book as PDF. Without any of its
// options the program starts its windows as always.
namespace CommandLine {

// Takes `--region XX` (or `--region=XX`) out of the arguments and reads numbers in that country for this run,
// windows or commands alike. Returns 0, or 2 after saying why when the code names no country numbers are known
// for (or is missing).
int takeRegion(int& argc, char** argv);

// True when the arguments ask for work without windows (or for --help or --version), or name an option that is
// neither this program's nor one of Qt's for the windows: the parser then reports it, and nothing starts.
bool wanted(int argc, char** argv);

// Does that work on the file the windows use and returns the exit code: 0 when everything was carried over, 1
// when something was left out, 2 on an error. Never opens a window, and needs no display.
int run(int argc, char** argv);

// The directory file a command works on. All its statements share one wait for another program's lock, and the
// old program's file is refused until the windows have converted it. Throws DbError.
QString workingDatabase();

} // namespace CommandLine
