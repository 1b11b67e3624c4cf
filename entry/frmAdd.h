#pragma once

#include "app/WorkingWindow.h"
#include "data/Columns.h"
#include "data/DataControl.h"

#include <QHash>

class MaskEdBox;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

// The new entry window: one person or business, typed field by field without the mouse (Enter moves on along a
// fixed chain that ends on "Save"), then appended to tblTel or discarded. The window is loaded afresh for every
// entry and unloads itself either way.
//
// Given the key of an entry (WindowSwitch::argument), the same window opens that entry: its boxes hold the
// entry's twelve values, and Save writes the boxes the user changed, and the book, to that row in one step (another
// book moves the entry there); a row changed elsewhere meanwhile is refused, and the window keeps what was typed.
class frmAdd : public WorkingWindow
{
    Q_OBJECT
public:
    explicit frmAdd(QWidget* parent = nullptr);

    void Form_Load() override;
    QString caption() const override;
    Border border() const override { return Border::FixedSingle; }
    bool holdsTyping() const override;

    // Shows the business-name row for the book "Business" only; what was typed there stays.
    void cmbType_Click();

    // The key handlers only read the character: on Enter (13) they move the focus along the chain (enterPressed).
    // The key itself goes on to the control unchanged.
    void cmbType_KeyPress(short KeyAscii);
    void txtFname_KeyPress(short KeyAscii);
    void txtLname_KeyPress(short KeyAscii);
    void txtBusName_KeyPress(short KeyAscii);
    void txtAddress_KeyPress(short KeyAscii);
    void txtCity_KeyPress(short KeyAscii);
    void txtState_KeyPress(short KeyAscii);
    void txtZip_KeyPress(short KeyAscii);
    void txtTel1_KeyPress(short KeyAscii);
    void txtTel2_KeyPress(short KeyAscii);
    void txtFax_KeyPress(short KeyAscii);
    void txtPel_KeyPress(short KeyAscii);

    void txtZip_GotFocus();

    // The key of the entry the window opened; -1 for a new entry.
    qint64 entryKey() const { return m_key; }

    // Appends the entry to tblTel and goes back to the directory. A row the file refuses is reported and nothing
    // of it is stored; the window then stays as it is.
    void cmdSave_Click();
    // Goes back to the directory; nothing is written.
    void cmdBitul_Click();

    QComboBox* cmbType;
    QLineEdit* txtFname;
    QLineEdit* txtLname;
    QLineEdit* txtBusName;
    QLineEdit* txtAddress;
    QLineEdit* txtCity;
    QLineEdit* txtState;
    MaskEdBox* txtZip;
    MaskEdBox* txtTel1;
    MaskEdBox* txtTel2;
    MaskEdBox* txtFax;
    MaskEdBox* txtPel;
    QPushButton* cmdSave;
    QPushButton* cmdBitul;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    QFrame* Line1;
    QFrame* Line2;
    DataControl* datTel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The constructor's steps: the boxes and buttons in tab order, the captions over them, the Tab and Enter chains,
    // the context menu and the signals.
    void createFields();
    void createCaptions();
    void chainKeys();
    void addCommands();
    QLineEdit* textBox(QString Contact::*field, int left, int top, int width);
    MaskEdBox* maskBox(QString Contact::*field, int left, int top, int width);
    // The boxes of the columns each holds as it is (all but the book and the business name, which hang on the book).
    std::array<std::pair<const Columns::Column*, QLineEdit*>, 10> boxes() const;
    QPushButton* button(const QString& name, const QString& text, int left);
    QLabel* label(const QString& name, const QString& text, int left, int top);
    QFrame* line(const QString& name, int left, int top, int right);
    void moveOn(QWidget* next);
    // The entry's name as the status line says it was saved.
    QString savedName() const;
    // The stored name of the book the chooser shows ("Personal", "Business").
    QString chosenBook() const;
    // The key handler of every box: on Enter, the focus moves on to the box after it.
    void enterPressed(QObject* box, short KeyAscii);
    // Fills the boxes from the entry of m_key. Throws DbError.
    void openEntry();
    // Writes the changed boxes to the entry of m_key; false when the file refused (that was said).
    bool saveEntry();
    void backToDirectory(bool saved);

    qint64 m_key = -1;
    QString m_category;                    // the book of the opened entry, as stored
    QHash<QObject*, QWidget*> m_enterNext; // per box, where Enter moves the focus; null: decided by enterPressed
};
