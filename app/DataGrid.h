#pragma once

#include <QFrame>
#include <QHash>

class GridModel;
class QLabel;
class QTableView;

// A grid bound to a data control: a caption bar over a table with a record selector. Cells are edited in place
// and written back when committed; the Delete key deletes the selected rows after the user confirms. No row can be
// added. A write the file refuses is reported and the grid shows the row as stored.
class DataGrid : public QFrame
{
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const;
    // Takes the columns' captions and widths from the model.
    void setModel(GridModel* model);
    GridModel* model() const { return m_model; }
    QTableView* view() const { return m_view; }
    QLabel* captionBar() const { return m_caption; }

    // Wider than `designWidth`, the grid widens its columns: every one in proportion, or the last alone.
    void setColumnsFollowWidth(int designWidth, bool lastOnly);
    // A column never narrower than `width` (which its text needs), whatever its design says.
    void setMinimumColumnWidth(int column, int width);

    // Deletes the selected rows after asking; true when rows were deleted.
    bool deleteSelectedRows();

Q_SIGNALS:
    // The user asks to open the entry of `row`: Enter on the one row chosen by its record selector, or a double click
    // on the record selector.
    void openRequested(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setColumnWidths();

    int m_designWidth = 0;
    QHash<int, int> m_minimumWidths;
    bool m_lastOnly = false;
    QLabel* m_caption;
    QTableView* m_view;
    GridModel* m_model = nullptr;
};
