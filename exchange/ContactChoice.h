#pragma once

#include "data/Contact.h"
#include "exchange/FullContact.h"
#include "exchange/ProblemList.h"

#include <optional>

// The one step that chooses what of a full contact goes into an entry's twelve columns, for every format:
// - the book the file names, else "Business" when there is a company and "Personal" otherwise;
// - the given name to Fname, the family name to Lname, else the written-out name split at its last word (unless it
//   only repeats the company); middle names are reported; a personal entry with neither takes the company as its
//   family name;
// - one address: for a business its work address, for a personal entry its home address, else the first;
// - numbers in that same order of preference (work or home first), each checked before it takes a place: a
//   cellular number to Pel, a fax to Fax, the others to Tel1 and Tel2, then further cellular numbers and pagers
//   where room is left; a number that cannot be stored gives way to one that can. A number in the entry window's
//   own form (a reader found it beside its digits, see StoredForms) takes the field its kind names first.
// Everything that finds no place is reported under `record`, or counted by kind in `unplaced` (the reader totals
// those over a file); a contact with neither a name nor a number is left out, and reported.
namespace ContactChoice {

std::optional<Contact> choose(const FullContact& full, int record, ProblemList& problems, QMap<QString, int>& unplaced);

// One line for the file (record 0) for each kind of value the directory has no place for, with how many there
// were, so that a summary never says that all was carried over when some was not.
void reportUnplaced(const QMap<QString, int>& counts, ProblemList& problems);

} // namespace ContactChoice
