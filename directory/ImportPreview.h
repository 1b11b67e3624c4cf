#pragma once

#include "exchange/ContactImport.h"

#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QVBoxLayout;
class PreviewEntries;

// What an import will do, shown before anything is written: a table of the entries, one row each with a check box
// (new entries checked, those already in the directory shown unchecked), how many go to each book, and every value
// that does not fit, with what is done with it.
// Text that names no encoding and is not UTF-8 is read in the encoding the user picks here. The list can be saved
// as a text file. The columns of a CSV file are named here by the user: those of a file without a header line must
// be, those of a file with one start from its names.
class ImportPreview : public QDialog
{
    Q_OBJECT
public:
    // Reads the files and asks; the plan to write, or nothing when the user cancelled or nothing can be imported
    // (which is said). Throws DbError when the directory cannot be read.
    static std::optional<ContactImport::Plan> ask(QWidget* parent, const QStringList& files,
                                                  const QString& databasePath);
    // Tests: the rows of the entries' table (new entries first, then those already there) to uncheck before the
    // next preview is answered.
    static void setNextUnchecked(const QList<int>& rows);
    // Tests: looks at the next preview (and may act on it) before it is answered.
    static void setNextLook(std::function<void(QDialog&)> look);
    // Tests: the country the next preview's numbers are dialled in, chosen as a user would.
    static void setNextRegion(const QString& code);

private:
    ImportPreview(QWidget* parent, QList<std::pair<QString, QByteArray>> files, QString databasePath);
    // The steps of building the dialog, top to bottom.
    QLabel* addEncodingRow(QVBoxLayout* layout);
    void addRegionRow(QVBoxLayout* layout);
    QList<QComboBox*> addColumnChoosers(QVBoxLayout* layout, const QString& name, const QByteArray& bytes);
    void addEntries(QVBoxLayout* layout);
    void addButtons(QVBoxLayout* layout);
    void reread();
    ContactImport::Plan chosenPlan() const;
    void saveList();

    QList<std::pair<QString, QByteArray>> m_files; // name and bytes, read once
    QList<QList<QComboBox*>> m_columns;            // per file: what each column of a CSV file holds
    QString m_databasePath;
    ContactImport::Plan m_plan;
    bool m_encodingUsed = false;
    QComboBox* m_encoding;
    QComboBox* m_region;
    QLabel* m_regionNote;
    QCheckBox* m_duplicates;
    PreviewEntries* m_entries;
    QPlainTextEdit* m_summary;
};
