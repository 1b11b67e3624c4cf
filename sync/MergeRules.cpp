#include "sync/MergeRules.h"

#include "data/Book.h"
#include "data/Columns.h"
#include "data/SyncStore.h"

#include <QCoreApplication>

MergeRules::Merge MergeRules::merge(const QStringList& agreed, Here here, const QStringList& local, There there,
                                    const QStringList& server)
{
    Merge result;
    switch (there) {
    case There::Gone:
        if (here == Here::Unchanged) {
            result.row = Merge::Row::Delete;
            result.card = Merge::Card::Forget;
        } else if (here == Here::Edited) {
            result.card = Merge::Card::CreateAgain;
            result.lines << QCoreApplication::translate(
                                "MergeRules",
                                "%1 was deleted on the server and changed here; it is created there again.")
                                .arg(nameOf(local));
        } else {
            result.card = Merge::Card::Forget;
        }
        return result;
    case There::Blank:
        // A card without name or number is kept, not shown; an entry it was is deleted here.
        if (here == Here::Unchanged) {
            result.row = Merge::Row::Delete;
            result.lines << QCoreApplication::translate(
                                "MergeRules", "%1 holds no name and no number on the server any more; it was deleted "
                                              "here.")
                                .arg(nameOf(local));
        } else if (here == Here::Edited) {
            result.card = Merge::Card::Kept;
            result.lines << QCoreApplication::translate(
                                "MergeRules",
                                "%1: the server's card holds no name and no number any more; the entry as "
                                "edited here goes back.")
                                .arg(nameOf(local));
        }
        return result;
    case There::Changed:
        break;
    }
    switch (here) {
    case Here::Unchanged:
        if (server != local) {
            result.row = Merge::Row::Update;
            result.values = server;
        }
        break;
    case Here::Edited: {
        QStringList values = server;
        for (int i = 0; i < server.size() && i < local.size(); ++i) {
            const QString a = i < agreed.size() ? agreed[i] : QString();
            if (local[i] == a || local[i] == server[i])
                continue;
            if (server[i] == a) {
                values[i] = local[i];
                continue;
            }
            result.lines << QCoreApplication::translate(
                                "MergeRules", "%1: %2 was changed here to \"%3\" and on the server to \"%4\"; the "
                                              "server's value was kept.")
                                .arg(nameOf(local), SyncStore::columns().at(i), local[i].trimmed(),
                                     server[i].trimmed());
        }
        if (values != local) {
            result.row = Merge::Row::Update;
            result.values = values;
        }
        break;
    }
    case Here::Deleted:
        result.lines << QCoreApplication::translate(
                            "MergeRules", "%1 was deleted here and changed on the server; it was brought back.")
                            .arg(nameOf(server));
        [[fallthrough]];
    case Here::NoEntry:
        result.row = Merge::Row::Insert;
        result.values = server;
        break;
    }
    return result;
}

MergeRules::Merge MergeRules::keptHere(const Merge& merge)
{
    if (merge.row != Merge::Row::Delete)
        return merge;
    Merge kept;
    kept.card = merge.card == Merge::Card::Forget ? Merge::Card::CreateAgain : Merge::Card::Kept;
    return kept;
}

bool MergeRules::asksFirst(int deletions, int synced, bool emptied)
{
    if (deletions <= 0)
        return false;
    return emptied || (deletions > kDeletionsTaken && deletions * 4 > synced);
}

QString MergeRules::nameOf(const QStringList& values)
{
    if (values.size() != Columns::kCount)
        return QCoreApplication::translate("MergeRules", "(an entry)");
    const Contact v = Contact::fromValues(values);
    const QString person = (v.fname.trimmed() + QLatin1Char(' ') + v.lname.trimmed()).trimmed();
    const QString name =
        v.category == ::Book::Business.name() && !v.busName.trimmed().isEmpty() ? v.busName.trimmed() : person;
    return QStringLiteral("\"%1\"").arg(name.isEmpty() ? v.pel.trimmed() : name);
}

MergeRules::Step MergeRules::step(Here here, bool belongs, ETag::State version)
{
    if (version == ETag::State::Unknown)
        return Step::None;
    if (here == Here::Edited && !belongs)
        return Step::Move;
    if (here == Here::Edited || (here == Here::Unchanged && version == ETag::State::New))
        return Step::Edit;
    if (here == Here::Deleted)
        return Step::Delete;
    return Step::None;
}

MergeRules::Outcome MergeRules::classify(int status, bool ofCard)
{
    if (status >= 200 && status < 300)
        return Outcome::Done;
    if (status == 0 || status == 408 || status == 429 || status >= 500)
        return Outcome::RetryLater;
    if (status == 401 || !ofCard)
        return Outcome::Fatal;
    if (status == 404)
        return Outcome::Gone;
    if (status == 412)
        return Outcome::Conflict;
    return Outcome::Refused;
}

MergeRules::Then MergeRules::after(Step step, Outcome outcome, ETag::State version)
{
    if (outcome == Outcome::RetryLater || outcome == Outcome::Fatal)
        return Then::Stop;
    switch (step) {
    case Step::Create:
        return outcome == Outcome::Done ? Then::Confirmed : Then::Refused;
    case Step::Edit:
        switch (outcome) {
        case Outcome::Done:
            return Then::Confirmed;
        case Outcome::Conflict:
            return Then::ReadAgain;
        case Outcome::Gone:
            return version == ETag::State::Known ? Then::CreateAgain : Then::Refused;
        default:
            return Then::Refused;
        }
    case Step::Delete:
        switch (outcome) {
        case Outcome::Done:
        case Outcome::Gone:
            return Then::Forget;
        case Outcome::Conflict:
            return Then::ReadAgain;
        default:
            return Then::Refused;
        }
    case Step::None:
    case Step::Move:
        break;
    }
    return Then::Stop;
}
