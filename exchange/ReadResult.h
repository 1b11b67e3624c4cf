#pragma once

#include "data/StoredRows.h"
#include "exchange/ContactList.h"
#include "exchange/ProblemList.h"

// What a reader found in a file: the contacts in file order and the problems met on the way (the first thousand
// kept, the others counted).
struct ReadResult
{
    ContactList contacts;
    ProblemList problems;
    // Messages for the log (an old program's data file holds them), in their stored forms.
    QList<StoredRows::Row> messages;
    int files = 0; // the files gathered into it (see ContactImport::gather)
};
