#pragma once

#include "exchange/ContactExport.h"

#include <optional>

class CommandArguments;
class CommandRegistry;

// Contacts in and out of the directory from the command line: --import (with --encoding and --dry-run), --export
// (with --book and --format), --export-messages, and --region for this run, windows or commands alike.
namespace ContactCommandLine {

// Takes `--region XX` (or `--region=XX`) out of the arguments and reads numbers in that country for this run.
// Returns 0, or 2 after saying why when the code names no country numbers are known for (or is missing).
int takeRegion(int& argc, char** argv);

// Adds the options and commands above, in the order --help lists them.
void addTo(CommandRegistry& registry);

// The book --book names (both when not given); nothing, after saying so, for a name that is no book.
std::optional<ContactExport::Book> chosenBook(const CommandArguments& arguments);

} // namespace ContactCommandLine
