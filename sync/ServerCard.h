#pragma once

#include "data/Contact.h"
#include "exchange/VCardLine.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class ProblemList;

// A card as the server holds it, kept byte for byte, and what it means as a directory entry.
//
// The card is read as import reads a file (VCardReader, then ContactFit for the stored forms), so a card means the
// same entry whether it was synced or imported. Each number of the entry remembers the TEL line it came from. An
// edit rewrites only the lines of the fields whose values differ from what the card means now (N and FN for the
// names, ORG, the first address's street, city, state and zip within its ADR, the very TEL line of a number); every
// other line, its group, parameters, folding and unknown properties, stays as received. A value the reading
// reformatted (a number into its mask, a text cut to its column) therefore changes nothing on the server until the
// user edits it. A partly typed number or zip goes as its digits with the stored form beside them (StoredForms), so
// another desk stores exactly what this one did.
class ServerCard
{
public:
    explicit ServerCard(const QByteArray& text);

    const QByteArray& text() const { return m_text; }
    // The entry the card makes, in stored forms; nothing when it holds nothing the directory shows (neither a name
    // nor a number). `book` ("Personal" or "Business") places it in that book whatever it holds; empty: an
    // organisation means Business. What could not be placed as the card has it goes to `problems`, as an import
    // reports it (card 1).
    std::optional<Contact> entry(const QString& book, ProblemList* problems = nullptr) const;
    // The card with the lines of the fields whose values differ from entry(book) rewritten to `wanted`.
    QByteArray patched(const Contact& wanted, const QString& book) const;

    // A new card for an entry: vCard 3.0 with UID, FN and N.
    static QByteArray created(const Contact& entry, const QString& uid);

private:
    struct Line
    {
        QByteArray raw; // with its folding and line end
        VCardLine parsed;
        bool property = false; // a property line (not BEGIN, END or VERSION, nor damage)
    };
    int sourceOf(const Contact& raw, int numberColumn) const;
    // The first property line of that name; -1 when there is none.
    int find(const QString& name) const;

    // The card's lines as an edit goes: each kept or replaced, some removed, new ones added before END.
    struct Edit
    {
        QList<QByteArray> lines;
        QList<bool> removed;
        QList<QByteArray> added;
        // Replaces line `index`, or adds the line when there is none (-1).
        void set(int index, const QByteArray& line);
        QByteArray text() const;
    };
    // Each rewrites the lines of its fields when `wanted` differs from `now` in them.
    void editNames(Edit& edit, const Contact& wanted, const Contact& now) const;
    void editOrganisation(Edit& edit, const Contact& wanted, const Contact& now) const;
    void editCategories(Edit& edit, const Contact& wanted, const Contact& now) const;
    void editAddress(Edit& edit, const Contact& wanted, const Contact& now) const;
    // `raw`: the card's entry as read, before its values took their stored forms, which tells each number's line.
    void editNumbers(Edit& edit, const Contact& wanted, const Contact& now, const Contact& raw) const;
    // The property beside a number or the zip that keeps a partly typed value as stored (see StoredForms).
    void editStoredForm(Edit& edit, const QString& column, const QString& stored) const;

    QByteArray m_text;
    QByteArray m_version;
    QList<Line> m_lines;
};
