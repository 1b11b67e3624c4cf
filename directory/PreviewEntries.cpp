#include "directory/PreviewEntries.h"

#include "data/Book.h"
#include "directory/frmMain.h"

#include <QBrush>
#include <QPalette>
#include <QSet>
#include <algorithm>

namespace {

enum Column { BookColumn, LastName, FirstName, Company, Numbers, Address, Problems, ColumnCount };

// The numbers that are typed, as the entry window shows them.
QString numbersOf(const Contact& c)
{
    QStringList numbers;
    for (const QString* number : {&c.tel1, &c.tel2, &c.pel, &c.fax}) {
        if (std::any_of(number->begin(), number->end(), [](QChar ch) { return ch.isDigit(); }))
            numbers << *number;
    }
    return numbers.join(QStringLiteral("; "));
}

QString addressOf(const Contact& c)
{
    QStringList parts;
    const QString zip = c.zip == QLatin1String("_____") ? QString() : c.zip;
    for (const QString& part : {c.address, c.city, c.state, zip}) {
        if (!part.trimmed().isEmpty())
            parts << part.trimmed();
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

PreviewEntries::PreviewEntries(QObject* parent) : QAbstractTableModel(parent) {}

void PreviewEntries::setPlan(const ContactImport::Plan& plan)
{
    beginResetModel();
    m_plan = plan;
    // Each entry's own problems, by where it was read (those of a whole file, record 0, are no entry's).
    m_problems.clear();
    for (const ExchangeProblem& p : plan.problems) {
        if (p.record > 0) {
            QString& line = m_problems[{p.file, p.record}];
            line += (line.isEmpty() ? QString() : QStringLiteral("; ")) +
                    (p.field.isEmpty() ? p.action : tr("%1 \"%2\": %3").arg(p.field, p.value, p.action));
        }
    }
    m_checked.assign(std::size_t(plan.added.size() + plan.duplicates.size()), false);
    std::fill(m_checked.begin(), m_checked.begin() + plan.added.size(), true);
    endResetModel();
    Q_EMIT choiceChanged();
}

ContactImport::Plan PreviewEntries::chosenPlan() const
{
    ContactImport::Plan plan = m_plan;
    plan.added.clear();
    plan.duplicates.clear();
    plan.personal = plan.business = 0;
    QSet<std::pair<int, int>> skipped; // the file and record of each entry not imported
    for (int row = 0; row < rowCount(); ++row) {
        const Contact c = entry(row);
        if (m_checked[std::size_t(row)]) {
            plan.added.append(c, origin(row));
            ++(c.category == ::Book::Business.name() ? plan.business : plan.personal);
        } else {
            if (isDuplicate(row))
                plan.duplicates.append(c, origin(row));
            if (const EntryOrigin from = origin(row); from.record > 0)
                skipped.insert({from.file, from.record});
        }
    }
    // What is not imported carries nothing over: its values leave the list of those not carried over as they were.
    plan.problems.removeIf([&skipped](const ExchangeProblem& p) {
        return p.record > 0 && skipped.contains({p.file, p.record});
    });
    return plan;
}

void PreviewEntries::checkDuplicates(bool checked)
{
    const int first = int(m_plan.added.size());
    if (first >= rowCount())
        return;
    std::fill(m_checked.begin() + first, m_checked.end(), checked);
    Q_EMIT dataChanged(index(first, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
    Q_EMIT choiceChanged();
}

Contact PreviewEntries::entry(int row) const
{
    return isDuplicate(row) ? m_plan.duplicates.at(row - m_plan.added.size()) : m_plan.added.at(row);
}

EntryOrigin PreviewEntries::origin(int row) const
{
    return isDuplicate(row) ? m_plan.duplicates.originAt(row - m_plan.added.size()) : m_plan.added.originAt(row);
}

int PreviewEntries::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_checked.size());
}

int PreviewEntries::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PreviewEntries::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::CheckStateRole && index.column() == BookColumn)
        return m_checked[std::size_t(index.row())] ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ToolTipRole && isDuplicate(index.row()))
        return tr("Already in the directory: skipped unless checked");
    if (role == Qt::ToolTipRole && index.column() == Problems)
        return data(index, Qt::DisplayRole);
    if (role == Qt::ForegroundRole && isDuplicate(index.row()))
        return QPalette().brush(QPalette::Disabled, QPalette::Text);
    if (role != Qt::DisplayRole)
        return QVariant();
    const Contact c = entry(index.row());
    switch (index.column()) {
    case BookColumn:
        return isDuplicate(index.row()) ? tr("%1 (already there)").arg(frmMain::bookCaption(c.category))
                                        : frmMain::bookCaption(c.category);
    case LastName:
        return c.lname;
    case FirstName:
        return c.fname;
    case Company:
        return c.busName.trimmed();
    case Numbers:
        return numbersOf(c);
    case Address:
        return addressOf(c);
    case Problems: {
        const EntryOrigin from = origin(index.row());
        return m_problems.value({from.file, from.record});
    }
    default:
        return QVariant();
    }
}

QVariant PreviewEntries::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const names[] = {QT_TR_NOOP("Book"),    QT_TR_NOOP("Last Name"), QT_TR_NOOP("First Name"),
                                        QT_TR_NOOP("Company"), QT_TR_NOOP("Numbers"),   QT_TR_NOOP("Address"),
                                        QT_TR_NOOP("Problems")};
    return section >= 0 && section < ColumnCount ? tr(names[section]) : QVariant();
}

Qt::ItemFlags PreviewEntries::flags(const QModelIndex& index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == BookColumn)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

bool PreviewEntries::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != BookColumn || role != Qt::CheckStateRole)
        return false;
    m_checked[std::size_t(index.row())] = value.value<Qt::CheckState>() == Qt::Checked;
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    Q_EMIT choiceChanged();
    return true;
}
