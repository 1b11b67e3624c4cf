#include "app/DataGrid.h"

#include "app/ErrorPath.h"
#include "app/MaskEdBox.h"
#include "app/MessageBox.h"
#include "app/Twips.h"
#include "data/GridModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The number cells are typed into the entry window's mask; a stored value in another form is edited as plain text.
// No editor cuts what is typed: a value longer than its column is refused when it is written, with a message. A cell
// left without typing writes nothing, so a value keeps the form it was stored in.
class CellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString mask = index.data(GridModel::InputMaskRole).toString();
        const QString stored = index.data(Qt::EditRole).toString();
        if (!mask.isEmpty() && (stored.isEmpty() || MaskEdBox::fits(mask, stored))) {
            // Every digit optional ("0" for "9"), so a number typed in part is committed as the entry window
            // stores it, blanks and all, rather than held back as incomplete.
            auto* box = new MaskEdBox(QString(mask).replace(QLatin1Char('9'), QLatin1Char('0')), parent);
            box->setFrame(false);
            return box;
        }
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (!mask.isEmpty())
            editor->setLayoutDirection(Qt::LeftToRight); // a number in another form reads left to right too
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line) {
            QStyledItemDelegate::setModelData(editor, model, index);
            return;
        }
        if (line->isModified())
            model->setData(index, qobject_cast<MaskEdBox*>(line) ? line->displayText() : line->text());
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        // A number reads left to right in a Hebrew grid too: "052 - 1234567", never its parts the other way round.
        if (!index.data(GridModel::InputMaskRole).toString().isEmpty())
            option->direction = Qt::LeftToRight;
    }
};

} // namespace

DataGrid::DataGrid(QWidget* parent) : QFrame(parent), m_caption(new QLabel(this)), m_view(new QTableView(this))
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setAutoFillBackground(true);
    m_caption->setFrameStyle(QFrame::Panel | QFrame::Raised);
    layout->addWidget(m_caption);
    layout->addWidget(m_view, 1);

    m_view->setItemDelegate(new CellDelegate(m_view));
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setGridStyle(Qt::SolidLine);
    m_view->setWordWrap(false);
    // The record selector: a narrow row header without numbers that selects whole rows and resizes them.
    m_view->verticalHeader()->setDefaultSectionSize(18);
    m_view->verticalHeader()->setFixedWidth(14);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_view->horizontalHeader()->setHighlightSections(false);
    connect(m_view->verticalHeader(), &QHeaderView::sectionDoubleClicked, this, &DataGrid::openRequested);
    m_view->installEventFilter(this);
}

void DataGrid::setCaption(const QString& caption)
{
    m_caption->setText(caption);
    // The caption bar is no label of the view's to a screen reader; the view carries the caption itself.
    m_view->setAccessibleName(caption.simplified());
}

QString DataGrid::caption() const
{
    return m_caption->text();
}

void DataGrid::setModel(GridModel* model)
{
    m_model = model;
    m_view->setModel(model);
    setColumnWidths();
    connect(model, &GridModel::databaseError, this,
            [this](int number, const QString& description) { ErrorPath::report(number, description, this); });
}

void DataGrid::setColumnsFollowWidth(int designWidth, bool lastOnly)
{
    m_designWidth = designWidth;
    m_lastOnly = lastOnly;
    setColumnWidths();
}

void DataGrid::setMinimumColumnWidth(int column, int width)
{
    m_minimumWidths.insert(column, width);
    setColumnWidths();
}

void DataGrid::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (m_designWidth > 0)
        setColumnWidths();
}

void DataGrid::setColumnWidths()
{
    if (!m_model)
        return;
    const auto& columns = m_model->gridColumns();
    const int extra = m_designWidth > 0 ? std::max(0, width() - m_designWidth) : 0;
    int total = 0;
    for (const auto& column : columns)
        total += tw(column.widthTwips);
    for (int c = 0; c < columns.size(); ++c) {
        const int designed = tw(columns.at(c).widthTwips);
        int grown = designed;
        if (m_lastOnly)
            grown += c == columns.size() - 1 ? extra : 0;
        else if (total > 0)
            grown += extra * designed / total;
        m_view->setColumnWidth(c, std::max(grown, m_minimumWidths.value(c)));
    }
}

bool DataGrid::deleteSelectedRows()
{
    if (!m_model)
        return false;
    QList<int> rows;
    const auto selection = m_view->selectionModel()->selectedRows();
    for (const QModelIndex& index : selection)
        rows.append(index.row());
    if (rows.isEmpty())
        return false;
    // One stray key would otherwise destroy entries for good.
    const QString text = rows.size() == 1
                             ? tr("Delete the selected row? Undo (Ctrl+Z) brings it back.")
                             : tr("Delete the %1 selected rows? Undo (Ctrl+Z) brings them back.").arg(rows.size());
    if (!MessageBox::question(this, text))
        return false;
    return m_model->removeRowList(rows);
}

bool DataGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // While a cell is edited its editor has the keys, so Delete reaches the view only between edits.
        if (key->key() == Qt::Key_Delete && m_view->selectionModel() &&
            !m_view->selectionModel()->selectedRows().isEmpty()) {
            deleteSelectedRows();
            return true;
        }
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && m_view->selectionModel() && m_view->selectionModel()->selectedRows().size() == 1 &&
            isSignalConnected(QMetaMethod::fromSignal(&DataGrid::openRequested))) {
            Q_EMIT openRequested(m_view->selectionModel()->selectedRows().constFirst().row());
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}
