#pragma once

#include <QString>
#include <QStringList>

class AccessFile;
class QWidget;

// A data file of the old program (an Access database) found where the program keeps its file is converted, at the
// user's word, into the program's own file under the same name; the old file is kept byte for byte beside it as
// "Dalvek (Access).mdb". The switch is made so that at every moment either the old file is in place, untouched, or
// the whole new one is, with the old under its new name:
//   1. the new file is written as "Dalvek.mdb.converting" and read back against what was read from the old one;
//   2. it is renamed "Dalvek.mdb.converted", noting (inside) the digest of the old file it holds;
//   3. the old file gets its second name by link();
//   4. the new file is renamed over "Dalvek.mdb".
// A conversion cut short after step 2 is finished at the next start; one cut short before it leaves only the old
// file (and a half-written file that is removed).
namespace AccessConversion {

struct Result
{
    QString backup;  // where the old file is kept
    int entries = 0; // rows of tblTel and tblMes carried over
    int messages = 0;
    QStringList notCarried; // the old file's columns and tables the program does not use, with their counts
};

// Converts the Access file at `path` in place, as above. `encoding` reads the texts of a Jet 3 file (empty: the
// file's own code page). Throws DbError naming the file and the reason; then nothing was changed.
Result convert(const QString& path, const QString& encoding = QString());

// Finishes a conversion of the file at `path` that stopped after step 2, and removes what a conversion that stopped
// before left. Returns where the old file is kept when it finished one. Throws DbError.
QString finishInterrupted(const QString& path);

// At start, before any window reads the file: finishes an interrupted conversion; when the program's file is an
// Access file, says so and offers to convert it (the default button converts). The program goes on only with Go:
// the user may decline, and a conversion may fail (which is said; nothing was changed).
// A Jet 3 file whose texts are not plain ASCII first asks in which encoding to read them, showing them as they read.
enum class Start { Go, Declined, Failed };
Start offerAtStart(QWidget* parent);

// The texts of `file` that are not plain ASCII, one "Column: text" a line, at most `count`: what tells a right
// encoding from a wrong one.
QString textSample(const AccessFile& file, int count = 12);

// Tests: the encoding the next choice answers (empty: the user cancels).
void setNextEncodingForTesting(const QString& encoding);

} // namespace AccessConversion
