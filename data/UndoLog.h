#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

struct sqlite3;

// The steps the user took since the program started (a grid edit, a grid deletion, a saved entry or message, an
// import, a message's mark), each as the rows of tblTel, tblMes and tovrin_message it changed, whole before and after,
// so that it can be taken back and done again.
//
// A step is recorded from SQLite's pre-update hook on the program's own connections while a Recording is open on
// this thread; only the changes the statements make themselves count, not those of triggers, but for the messages'
// states (tovrin_message), which follow their messages by triggers: those are taken back with the step and left to
// the triggers when it is done again. Undoing or redoing a step writes in one transaction and finds each row by its
// whole stored contents (the sort key aside, which the program makes again): a rowid alone may have been renumbered
// by a VACUUM. A row changed or deleted elsewhere since (another copy, a sync, a stock tool) refuses the whole step,
// and nothing changes.
class UndoLog : public QObject
{
    Q_OBJECT
public:
    struct Value
    {
        int type = 5; // SQLITE_NULL
        qint64 integer = 0;
        double real = 0;
        QByteArray bytes;
        bool operator==(const Value& other) const;
    };
    struct Change
    {
        QString table;
        qint64 rowid = -1;      // where the row was last seen; a hint only
        QList<Value> before;    // empty: the step added the row
        QList<Value> after;     // empty: the step deleted it
        bool byTrigger = false; // made by a trigger of another change of the step
    };
    struct Step
    {
        QString name; // "Deletion of 3 Entries"
        QString file;
        QList<Change> changes;
    };

    static UndoLog& instance();

    // Records the changes made on this thread while it is open; a step is kept only when keep() was called (the
    // write committed) and something changed. Recordings do not nest: an inner one adds to the outer.
    class Recording
    {
    public:
        explicit Recording(const QString& name);
        ~Recording();
        Recording(const Recording&) = delete;
        Recording& operator=(const Recording&) = delete;
        void keep() { m_keep = true; }
        void setName(const QString& name) { m_step.name = name; }
        void add(const Change& change, const QString& file)
        {
            if (m_step.file.isEmpty())
                m_step.file = file;
            m_step.changes.append(change);
        }

    private:
        friend class UndoLog;
        Step m_step;
        bool m_keep = false;
        bool m_outer = false;
    };

    // Installed on each of the program's connections.
    static void watch(sqlite3* db);

    // The step that would be undone or redone for `file`; empty when there is none.
    QString undoName(const QString& file) const;
    QString redoName(const QString& file) const;
    // Takes back (or does again) the last step on `file`. Throws DbError; then nothing changed and the step stays.
    void undo(const QString& file);
    void redo(const QString& file);

    void clearForTesting();

Q_SIGNALS:
    void changed();

private:
    UndoLog() = default;
    void push(Step step);
    void apply(const QString& file, QList<Step>& from, QList<Step>& to, bool forward);

    QList<Step> m_done;
    QList<Step> m_undone;
};
