#include "DataGrid.h"

#include "ErrorPath.h"
#include "GridModel.h"
#include "MessageBox.h"
#include "Twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The cell editor takes no more characters than the column holds.
class LimitedDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            const int width = index.data(GridModel::MaxLengthRole).toInt();
            if (width > 0)
                line->setMaxLength(width);
        }
        return editor;
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

    m_view->setItemDelegate(new LimitedDelegate(m_view));
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
    const auto& columns = model->gridColumns();
    for (int c = 0; c < columns.size(); ++c)
        m_view->setColumnWidth(c, tw(columns.at(c).widthTwips));
    connect(model, &GridModel::databaseError, this,
            [this](int number, const QString& description) { ErrorPath::report(number, description, this); });
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
    const QString text = rows.size() == 1 ? tr("Delete the selected row? It cannot be brought back.")
                                          : tr("Delete the %1 selected rows? They cannot be brought back.").arg(rows.size());
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
