#pragma once

#include "app/DataGrid.h"
#include "app/WorkingWindow.h"
#include "data/DataControl.h"
#include "messages/TimeLineEdit.h"

class LogFilterBar;
class MessageMarks;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The message log. It opens in the list view (every message, newest date first, in dbgMes); "Add New Message"
// turns it into the narrow entry view with the current date and time filled in. Every way out unloads it and
// brings back a freshly loaded frmMain.
class frmMes : public WorkingWindow
{
    Q_OBJECT
public:
    explicit frmMes(QWidget* parent = nullptr);

    void Form_Load() override;
    QString caption() const override { return tr("M  e  s  s  a  g  e  s"); }
    Border border() const override { return Border::Sizable; }

    // The date field's text for a date: day, month and two-digit year, two digits each, separated by "/" and in
    // the order of the default locale's short date, so that it always fits the field's mask.
    static QString dateText(const QDate& date);
    // The time field's text for a time: the default locale's long time (seconds included, time zone left out),
    // or HH:mm:ss where the locale writes a time that could not be read back when saving.
    static QString timeText(const QTime& time);

    DataControl* datTel;
    DataGrid* dbgMes;
    QPushButton* cmdAdd;
    QPushButton* cmdClose;
    QLabel* Label5;
    QLineEdit* txtCdate;
    QLabel* Label2;
    QLineEdit* txtMeet;
    QLabel* Label9;
    TimeLineEdit* txtCtime;
    QLabel* Label8;
    QLineEdit* txtAvur;
    QLabel* Label6;
    QPlainTextEdit* txtHodaa;
    QPushButton* cmdSave;
    QPushButton* cmdBitul;
    // The messages' states and the commands that mark them.
    MessageMarks* marks() const { return m_marks; }
    // Which messages the log shows.
    LogFilterBar* filterBar() const { return m_filterBar; }
    // Shows the message of a row whole, with the directory entries its From names.
    void readMessage(int row);
    // Selects the message of that rowid and reads it; false when the log does not list it.
    bool showMessage(qint64 message);
    // A message the filter hides is shown by a fresh log, which lists every message.
    bool showInPlace(const QVariant& argument) override;
    bool holdsTyping() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void cmdAdd_Click();
    void cmdClose_Click();
    void cmdBitul_Click();
    void cmdSave_Click();
    void txtMeet_KeyPress(int KeyAscii);
    void txtAvur_KeyPress(int KeyAscii);
    void txtHodaa_KeyPress(int KeyAscii);

    // The log's grid, its context menu and the filter bar.
    void setUpGrid();
    void setEntryViewVisible(bool entry);
    void applyFilter();
    // Given more room than designed, the grid or the message box takes it, and the buttons beneath move down.
    void relayout();

    MessageMarks* m_marks;
    LogFilterBar* m_filterBar;
    bool m_entryView = false;
    // The row grown to show its texts whole, and the height it had.
    int m_grownRow = -1;
    int m_grownRowHeight = 0;
};
