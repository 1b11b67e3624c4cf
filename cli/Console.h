#pragma once

#include <QString>

class DbError;

// What the command line prints: in the local encoding, each text written out at once, so that a summary and an
// error that follows it reach a pipe in the order they were said.
namespace Console {

void out(const QString& text);
void error(const QString& text);
// Says a failure on standard error and returns the exit code of an error (2). The program's own refusals (a file it
// will not write) have no engine number to show; the engine's failures show theirs.
int failed(const DbError& error);

} // namespace Console
