#pragma once

#include "exchange/ContactImport.h"

#include <QAbstractTableModel>
#include <QHash>
#include <vector>

// The entries an import preview lists, one row each: those to be added, checked, then those already in the
// directory, unchecked. The user checks what is written; the plan to write follows the check boxes.
class PreviewEntries : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit PreviewEntries(QObject* parent = nullptr);

    // A new plan: every new entry checked, every duplicate not.
    void setPlan(const ContactImport::Plan& plan);
    // The plan as the boxes say: the checked rows added (duplicates included), the rest skipped, and only the
    // problems of what is imported.
    ContactImport::Plan chosenPlan() const;
    // Checks or unchecks every entry already in the directory.
    void checkDuplicates(bool checked);
    bool isDuplicate(int row) const { return row >= int(m_plan.added.size()); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

Q_SIGNALS:
    void choiceChanged();

private:
    Contact entry(int row) const;
    EntryOrigin origin(int row) const;

    ContactImport::Plan m_plan;
    std::vector<bool> m_checked;                    // added rows, then duplicates
    QHash<std::pair<int, int>, QString> m_problems; // each entry's problems in words, by file and record
};
