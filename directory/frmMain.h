#pragma once

#include "app/WorkingWindow.h"
#include "data/DataControl.h"

#include <QVector>

class ContactCommands;
class DataGrid;
class LineControl;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class ResultLines;
class ShapeControl;

// The directory window, the program's main window: one of the two books in a grid (dbgPer or dbgBus; the visible
// one is bound to datTel, the hidden one to a data control that never runs), the book switch cmbType, the letter
// strip optOt that narrows the book, the free-text search over both books (txtMila, its own data control
// datSearch, the result list lstResult), the buttons that leave it, and its decoration. It is loaded afresh every time
// it is shown, so it always starts with the whole personal book.
//
// The handlers throw DbError; the connections run them inside the error path, and a handler called from another
// one (the load selects "All", the book switch runs the letter filter) lets its failure end the caller too.
class frmMain : public WorkingWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    void Form_Load() override;
    QString caption() const override { return QString(); }
    Border border() const override { return Border::None; }
    bool maximized() const override { return true; }

    // The book switch: shows the grid of the chosen book with the whole book in it.
    void cmbType_Click();
    // The letter filter: index 1 to 26 for the strip's letters ("A" to "Z", or alef to tav in the first 22 places
    // for a book of Hebrew names), 27 for "All".
    void optOt_Click(int Index);
    void cmdAdd_Click();
    // Opens the entry of `key` in the entry window (a row of the grid, a block of the results).
    void openEntry(qint64 key);
    void cmdMessages_Click();
    void cmdEnd_Click();
    // Sees every key before the search box does and passes it on unchanged; Enter (13) runs the search.
    void txtMila_KeyPress(quint16& KeyAscii);
    void txtMila_GotFocus();

    // What the search box shows while nothing is typed into it.
    static QString searchPrompt();
    // The name of a stored book ("Personal", "Business") as the window shows it.
    static QString bookCaption(const QString& book);

    QLabel* DXGif1;
    DataControl* datSearch;
    QListView* lstResult;
    QLineEdit* txtMila;
    QVector<QPushButton*> optOt; // indices 1 to 27; 0 is unused
    QButtonGroup* optOtGroup;
    QLabel* DXGif2;
    QPushButton* cmdMessages;
    QPushButton* cmdAdd;
    QComboBox* cmbType;
    QPushButton* cmdEnd;
    DataControl* datTel;
    DataGrid* dbgPer;
    DataGrid* dbgBus;
    ShapeControl* Shape1;
    QLabel* lblKesh;
    QLabel* Image1;
    QVector<LineControl*> lines; // Line2 to Line12
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label1;
    ResultLines* results;
    ContactCommands* contacts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Where a control stands at the designed size, in pixels; the layout places it from there (see relayout).
    struct Placed
    {
        QWidget* widget;
        QRect designed;
        bool stretches;
    };
    QRect& designed(QWidget* widget);
    QPointF placed(const QPointF& designed) const;
    void relayout();

    // Selecting an option from code runs its filter when the selection changes, as a user's click does.
    void selectOt(int index);
    // Captions the strip's letter buttons with `letters`, in order.
    void showBookLetters(const QStringList& letters);
    void runSearch();
    void openRow(int row);
    static void playGif(QLabel* view, const QString& path);
    void setGridSource(DataGrid* grid, DataControl* source);
    void bindVisibleGrid();
    // Shows `book` with the entry of `key` selected (after an import).
    void showEntry(const QString& book, qint64 key);

    // The constructor's steps, in the order the controls lie on each other.
    void makeDecoration();
    void makeSearchArea();
    void makeLetterStrip();
    void makeButtons();
    // The grids' context menu (opening an entry, contacts in and out) and the result list's double click.
    void makeContextCommands();
    void setTabChain();

    QVector<Placed> m_placed;
    bool m_selectOnRelease = false;
    DataControl* m_unbound = nullptr;
    DataGrid* m_boundGrid = nullptr;
};
