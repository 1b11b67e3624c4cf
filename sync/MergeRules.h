#pragma once

#include "data/ETag.h"

#include <QString>
#include <QStringList>

// The rules of the two-way sync, as functions of what each side holds and nothing else: no file, no network, no
// report of their own. SyncRun asks them what to do and does it.
//
// Pulling a card: a field changed on one side takes that side; changed on both, the server's value stays and the
// local one is reported. An entry edited here and deleted there goes up again as a new card; deleted here and
// changed there, it comes back here. A card that no longer means an entry takes its unchanged entry with it.
//
// Pushing: an edited entry goes up as an edit of its card (moved to the other book: a new card there and a
// deletion here), an entry deleted here as a deletion, each only with the version of the card known here. The
// server's answer decides what becomes of the card: a card changed there meanwhile (412) is read again and merged
// in the same sync, a card gone there is created again, a refusal of that card is reported and the rest goes on,
// and a failure of the server or the account stops the sync.
namespace MergeRules {

// An entry here against the values last agreed for its card: as agreed, edited, deleted, or no entry at all (the
// card is new here, or means nothing the directory can show).
enum class Here { Unchanged, Edited, Deleted, NoEntry };
// The card on the server as a pull found it: changed and meaning an entry, changed and meaning none, or deleted.
enum class There { Changed, Blank, Gone };

struct Merge
{
    // What becomes of the entry here.
    enum class Row { Keep, Insert, Update, Delete } row = Row::Keep;
    QStringList values; // Insert and Update: the entry's new values
    // What becomes of the card kept here: the server's card, tied to the entry (none when it goes); the card as
    // kept, tied to the entry (it goes up again as edited); the card as kept to be created there again; forgotten.
    enum class Card { Server, Kept, CreateAgain, Forget } card = Card::Server;
    QStringList lines; // what the user must know
};

// `agreed`: the values last agreed; `local`: the entry's values (Edited, Unchanged); `server`: the values the
// server's card means (Changed).
Merge merge(const QStringList& agreed, Here here, const QStringList& local, There there, const QStringList& server);

// A deletion here the user declined: the entry stays, and its card goes up again (as new when the server no
// longer has it). Any other decision is returned as it was.
Merge keptHere(const Merge& merge);

// Deletions here that are asked before they are made, of an address book `synced` of whose cards are entries
// here: more than a few that are more than a quarter of them, or any when the address book came back `emptied`.
constexpr int kDeletionsTaken = 10;
bool asksFirst(int deletions, int synced, bool emptied);

// The entry as the report names it: the person, the business in "Business", else the cellular number.
QString nameOf(const QStringList& values);

// What a push does: nothing, a new card created, an entry moved to the other address book (a new card there, then
// a deletion), an edit (or a card not yet confirmed sent again), a deletion.
enum class Step { None, Create, Move, Edit, Delete };
// For a card kept here: `belongs`, the entry still belongs in the card's address book; `version`, what this file
// knows of the card's version there. Nothing is sent to a card whose version is not known: it is read again first.
Step step(Here here, bool belongs, ETag::State version);

// An HTTP answer, as every step of a sync reads it.
enum class Outcome {
    Done,       // 2xx
    Gone,       // 404 of a card: not (or no longer) on the server
    Conflict,   // 412 of a card: changed there since it was read
    Refused,    // the server will not take this card (400, 403 of a card, 409, 413, 415, 422, ...): the rest goes on
    RetryLater, // no answer, a time-out, 408, 429, 5xx: the sync stops and is tried again later
    Fatal,      // the account or the address book (401, 403, 404 of the address book, ...): the sync stops
};
// `status` 0: no answer came. `ofCard`: the request was about one card, not the address book.
Outcome classify(int status, bool ofCard);

// What becomes of a card after its step went to the server.
enum class Then {
    Confirmed,   // the server has it as sent
    ReadAgain,   // changed there meanwhile: read again and merged in this sync
    CreateAgain, // deleted there meanwhile: goes up as new
    Forget,      // no longer kept here
    Refused,     // reported; the card stays as it was (a new card is forgotten)
    Stop,        // the sync stops
};
// `step` Create, Edit or Delete (a move is a Create and a Delete); `version` as it was when the step went.
Then after(Step step, Outcome outcome, ETag::State version);

} // namespace MergeRules
