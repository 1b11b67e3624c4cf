#include "entry/frmAdd.h"

#include "app/About.h"
#include "app/ErrorPath.h"
#include "app/Fonts.h"
#include "app/MDIForm1.h"
#include "app/MaskEdBox.h"
#include "app/Module1.h"
#include "app/Settings.h"
#include "app/Twips.h"
#include "app/WindowSwitch.h"
#include "data/Book.h"
#include "data/Query.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kTimes = QStringLiteral("Times New Roman");

// The character a key press types, as the key handlers read it: Enter from either key is 13.
short keyAscii(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return 13;
    return event.text().isEmpty() ? 0 : short(event.text().at(0).unicode());
}

// What a box stores: a masked value as shown, blanks and literals included, so every digit keeps its place.
QString boxValue(const Columns::Column& column, const QLineEdit* box)
{
    return column.masked() ? box->displayText() : box->text();
}

} // namespace

frmAdd::frmAdd(QWidget* parent) : WorkingWindow(parent), datTel(new DataControl(this))
{
    if (const QVariant key = WindowSwitch::argument(); key.isValid())
        m_key = key.toLongLong();
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(grey);
    // The font of the controls that have none of their own.
    setFont(Fonts::font(QStringLiteral("MS Sans Serif"), 8.25));
    datTel->setObjectName(QStringLiteral("datTel"));

    createFields();
    createCaptions();
    chainKeys();

    // Below the room its controls take (the buttons and a margin beneath them), the window scrolls: no more, so the
    // designed window, under a title bar taller than the design's, shows them without scroll bars.
    setDesignSize(QSize(tw(4815), tw(7095)));

    addCommands();
}

void frmAdd::createFields()
{
    // Created in tab order, so the chain of the Tab key is the design's from the start.
    cmbType = new QComboBox(this);
    cmbType->setObjectName(QStringLiteral("cmbType"));
    cmbType->setGeometry(twRect(2160, 240, 2415, 375));
    cmbType->setFont(Fonts::font(kTimes, 11.25, true));
    txtFname = textBox(&Contact::fname, 240, 1200, 1575);
    txtLname = textBox(&Contact::lname, 1920, 1200, 2655);
    txtBusName = textBox(&Contact::busName, 240, 2040, 4335);
    txtAddress = textBox(&Contact::address, 240, 2880, 4335);
    txtCity = textBox(&Contact::city, 240, 3720, 2175);
    txtState = textBox(&Contact::state, 2760, 3720, 615);
    txtState->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    txtZip = maskBox(&Contact::zip, 3720, 3720, 855);
    txtTel1 = maskBox(&Contact::tel1, 240, 4920, 1455);
    txtTel2 = maskBox(&Contact::tel2, 3120, 4920, 1455);
    txtFax = maskBox(&Contact::fax, 240, 5760, 1455);
    txtPel = maskBox(&Contact::pel, 3120, 5760, 1455);
    cmdSave = button(QStringLiteral("cmdSave"), tr("Save"), 600);
    cmdBitul = button(QStringLiteral("cmdBitul"), tr("Cancel"), 2520);
}

void frmAdd::createCaptions()
{
    Label2 = label(QStringLiteral("Label2"), tr("First"), 240, 840);
    Label7 = label(QStringLiteral("Label7"), tr("Telephone 1"), 240, 4560);
    Label8 = label(QStringLiteral("Label8"), tr("Cellular"), 3120, 5400);
    Label9 = label(QStringLiteral("Label9"), tr("Fax"), 240, 5400);
    Label10 = label(QStringLiteral("Label10"), tr("Telephone 2"), 3120, 4560);
    Label3 = label(QStringLiteral("Label3"), tr("Last"), 2040, 840);
    Label11 = label(QStringLiteral("Label11"), tr("Tovrin Type"), 240, 240);
    Label1 = label(QStringLiteral("Label1"), tr("Business Name"), 240, 1680);
    Label4 = label(QStringLiteral("Label4"), tr("Address"), 240, 2520);
    Label5 = label(QStringLiteral("Label5"), tr("City"), 240, 3360);
    Label6 = label(QStringLiteral("Label6"), tr("Zip"), 3720, 3360);
    Label12 = label(QStringLiteral("Label12"), tr("State"), 2760, 3360);
    // A screen reader names each field by the caption a sighted user reads above it.
    const std::pair<QLabel*, QWidget*> captions[] = {{Label11, cmbType},   {Label2, txtFname},   {Label3, txtLname},
                                                     {Label1, txtBusName}, {Label4, txtAddress}, {Label5, txtCity},
                                                     {Label12, txtState},  {Label6, txtZip},     {Label7, txtTel1},
                                                     {Label10, txtTel2},   {Label9, txtFax},     {Label8, txtPel}};
    for (const auto& [caption, field] : captions) {
        caption->setBuddy(field);
        field->setAccessibleName(caption->text());
    }
    Line2 = line(QStringLiteral("Line2"), 240, 720, 4560);
    Line1 = line(QStringLiteral("Line1"), 240, 4320, 4560);
}

void frmAdd::chainKeys()
{
    QWidget* const tabOrder[] = {cmbType, txtFname, txtLname, txtBusName, txtAddress, txtCity, txtState,
                                 txtZip,  txtTel1,  txtTel2,  txtFax,     txtPel,     cmdSave, cmdBitul};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // Where Enter moves the focus from each box, in the order the entry is filled in; from the last name it depends
    // on the book (see enterPressed).
    m_enterNext = {
        {cmbType, txtFname},   {txtFname, txtLname}, {txtLname, nullptr}, {txtBusName, txtAddress},
        {txtAddress, txtCity}, {txtCity, txtState},  {txtState, txtZip},  {txtZip, txtTel1},
        {txtTel1, txtTel2},    {txtTel2, txtFax},    {txtFax, txtPel},    {txtPel, cmdSave},
    };
    for (auto it = m_enterNext.cbegin(); it != m_enterNext.cend(); ++it)
        it.key()->installEventFilter(this);
}

void frmAdd::addCommands()
{
    // The window has no menu of its own to keep its designed look; the box is a right click away.
    addAction(Settings::action(this));
    auto* beforeAbout = new QAction(this);
    beforeAbout->setSeparator(true);
    addAction(beforeAbout);
    addAction(About::action(this));
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(cmbType, &QComboBox::activated, this, [this] { cmbType_Click(); });
    connect(txtZip, &MaskEdBox::gotFocus, this, [this] { txtZip_GotFocus(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdBitul, &QPushButton::clicked, this, [this] { cmdBitul_Click(); });
}

QString frmAdd::caption() const
{
    return m_key >= 0 ? tr("Name / Business") : tr("Add New Name / Business");
}

bool frmAdd::holdsTyping() const
{
    if (txtBusName->isModified())
        return true;
    for (const auto& [column, box] : boxes()) {
        if (box->isModified())
            return true;
    }
    return false;
}

// Each box is named after its column ("txtTel1") and takes what the column does: as many characters, or its mask.
QLineEdit* frmAdd::textBox(QString Contact::*field, int left, int top, int width)
{
    const Columns::Column& column = Columns::of(field);
    auto* box = new QLineEdit(this);
    box->setObjectName(QStringLiteral("txt") + column.columnName());
    box->setGeometry(twRect(left, top, width, 375));
    box->setFont(Fonts::font(kTimes, 9.75));
    box->setMaxLength(column.width);
    return box;
}

MaskEdBox* frmAdd::maskBox(QString Contact::*field, int left, int top, int width)
{
    const Columns::Column& column = Columns::of(field);
    auto* box = new MaskEdBox(QLatin1String(column.mask), this);
    box->setObjectName(QStringLiteral("txt") + column.columnName());
    box->setGeometry(twRect(left, top, width, 375));
    return box;
}

std::array<std::pair<const Columns::Column*, QLineEdit*>, 10> frmAdd::boxes() const
{
    const auto with = [](QString Contact::*field, QLineEdit* box) { return std::pair{&Columns::of(field), box}; };
    return {with(&Contact::fname, txtFname), with(&Contact::lname, txtLname), with(&Contact::address, txtAddress),
            with(&Contact::city, txtCity),   with(&Contact::state, txtState), with(&Contact::zip, txtZip),
            with(&Contact::tel1, txtTel1),   with(&Contact::tel2, txtTel2),   with(&Contact::pel, txtPel),
            with(&Contact::fax, txtFax)};
}

QPushButton* frmAdd::button(const QString& name, const QString& text, int left)
{
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setGeometry(twRect(left, 6600, 1335, 375));
    // The Enter chain through the boxes ends on "Save", and Enter there saves.
    pressOnEnter(b);
    return b;
}

QLabel* frmAdd::label(const QString& name, const QString& text, int left, int top)
{
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    l->setFont(Fonts::font(kTimes, 12, true));
    // Labels take the system's text colour and show the window's grey through, so they read as captions rather
    // than as boxes of a lighter grey.
    QPalette colours = l->palette();
    colours.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::ButtonText));
    l->setPalette(colours);
    l->move(tw(left), tw(top));
    l->adjustSize();
    return l;
}

QFrame* frmAdd::line(const QString& name, int left, int top, int right)
{
    auto* f = new QFrame(this);
    f->setObjectName(name);
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Plain);
    f->setLineWidth(1);
    f->setGeometry(tw(left), tw(top), tw(right) - tw(left) + 1, 1);
    return f;
}

void frmAdd::Form_Load()
{
    setBoundsTwips(6600, 200, 5000, 7600);
    gDbPath = Module1::databasePath();
    datTel->setDatabaseName(gDbPath);
    const Query entries = Query::entries();
    gRecordSource = entries.statement();
    datTel->setRecordSource(entries);
    datTel->Refresh();
    // The chooser shows each book in the user's language and holds its stored name, which is what is saved.
    for (const Book* book : Book::all())
        cmbType->addItem(book == &Book::Business ? tr("Business") : tr("Personal"), book->name());
    cmbType->setCurrentIndex(cmbType->findData(Book::Personal.name()));
    txtBusName->hide();
    Label1->hide();
    if (m_key >= 0) {
        // An entry deleted elsewhere since the directory showed it is said; the directory comes back.
        if (!ErrorPath::runKeeping(this, [this] { openEntry(); }))
            QMetaObject::invokeMethod(
                this, [this] { backToDirectory(false); }, Qt::QueuedConnection);
    }
}

void frmAdd::openEntry()
{
    ::Recordset* rs = datTel->Recordset();
    rs->Edit(m_key);
    const auto stored = [rs](const char* column) { return rs->Collect(QLatin1String(column)).toString(); };
    m_category = stored("Category");
    const bool business = m_category.compare(Book::Business.name(), Qt::CaseInsensitive) == 0;
    cmbType->setCurrentIndex(cmbType->findData(business ? Book::Business.name() : Book::Personal.name()));
    cmbType_Click();
    // A personal entry's business name is the one space every personal entry holds.
    if (business)
        txtBusName->setText(stored("BusName"));
    for (const auto& [column, box] : boxes())
        box->setText(stored(column->name));
}

bool frmAdd::saveEntry()
{
    return ErrorPath::runKeeping(this, [this] {
        ::Recordset* rs = datTel->Recordset();
        const QString book = chosenBook();
        const bool business = book == Book::Business.name();
        const bool moved = book.compare(m_category, Qt::CaseInsensitive) != 0;
        if (moved)
            rs->setCollect(QStringLiteral("Category"), book);
        if (business && (moved || txtBusName->isModified()))
            rs->setCollect(QStringLiteral("BusName"), txtBusName->text());
        else if (!business && moved)
            rs->setCollect(QStringLiteral("BusName"), QStringLiteral(" "));
        // Only what the user changed is written: a value another program stored in a form the masks do not
        // take stays as it was unless its box was typed into.
        for (const auto& [column, box] : boxes()) {
            if (box->isModified())
                rs->setCollect(column->columnName(), boxValue(*column, box));
        }
        rs->Update();
    });
}

void frmAdd::backToDirectory(bool saved)
{
    // An opened entry is shown in its book when the directory comes back.
    if (m_key < 0 || m_category.isEmpty()) {
        WindowSwitch::switchTo(this, QStringLiteral("frmMain"));
        return;
    }
    const bool business = m_category.compare(Book::Business.name(), Qt::CaseInsensitive) == 0;
    const QString book = saved ? chosenBook() : (business ? Book::Business : Book::Personal).name();
    WindowSwitch::switchTo(this, QStringLiteral("frmMain"), QVariantList{book, m_key});
}

void frmAdd::cmbType_Click()
{
    const bool business = chosenBook() != Book::Personal.name();
    txtBusName->setVisible(business);
    Label1->setVisible(business);
}

void frmAdd::moveOn(QWidget* next)
{
    // As the Tab key would: each box places its caret (and the zip box its selection) the same way either way.
    next->setFocus(Qt::TabFocusReason);
}

void frmAdd::enterPressed(QObject* box, short KeyAscii)
{
    if (KeyAscii != 13)
        return;
    QWidget* next = m_enterNext.value(box);
    if (box == txtLname) {
        if (chosenBook() == Book::Personal.name())
            next = txtAddress;
        if (chosenBook() == Book::Business.name())
            next = txtBusName;
    }
    if (next)
        moveOn(next);
}

void frmAdd::cmbType_KeyPress(short KeyAscii)
{
    enterPressed(cmbType, KeyAscii);
}

void frmAdd::txtFname_KeyPress(short KeyAscii)
{
    enterPressed(txtFname, KeyAscii);
}

void frmAdd::txtLname_KeyPress(short KeyAscii)
{
    enterPressed(txtLname, KeyAscii);
}

void frmAdd::txtBusName_KeyPress(short KeyAscii)
{
    enterPressed(txtBusName, KeyAscii);
}

void frmAdd::txtAddress_KeyPress(short KeyAscii)
{
    enterPressed(txtAddress, KeyAscii);
}

void frmAdd::txtCity_KeyPress(short KeyAscii)
{
    enterPressed(txtCity, KeyAscii);
}

void frmAdd::txtState_KeyPress(short KeyAscii)
{
    enterPressed(txtState, KeyAscii);
}

void frmAdd::txtZip_KeyPress(short KeyAscii)
{
    enterPressed(txtZip, KeyAscii);
}

void frmAdd::txtTel1_KeyPress(short KeyAscii)
{
    enterPressed(txtTel1, KeyAscii);
}

void frmAdd::txtTel2_KeyPress(short KeyAscii)
{
    enterPressed(txtTel2, KeyAscii);
}

void frmAdd::txtFax_KeyPress(short KeyAscii)
{
    enterPressed(txtFax, KeyAscii);
}

void frmAdd::txtPel_KeyPress(short KeyAscii)
{
    enterPressed(txtPel, KeyAscii);
}

void frmAdd::txtZip_GotFocus()
{
    txtZip->setSelection(0, int(txtZip->displayText().size()));
}

bool frmAdd::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && m_enterNext.contains(watched))
        enterPressed(watched, keyAscii(*static_cast<QKeyEvent*>(event)));
    // Never consumed: the control gets the key as it was typed.
    return WorkingWindow::eventFilter(watched, event);
}

void frmAdd::cmdSave_Click()
{
    if (m_key >= 0) {
        if (saveEntry())
            backToDirectory(true);
        return;
    }
    const bool stored = ErrorPath::runKeeping(this, [this] {
        ::Recordset* rs = datTel->Recordset();
        rs->AddNew();
        for (const auto& [column, box] : boxes())
            rs->setCollect(column->columnName(), boxValue(*column, box));
        if (chosenBook() == Book::Business.name())
            rs->setCollect(QStringLiteral("BusName"), txtBusName->text());
        else
            rs->setCollect(QStringLiteral("BusName"), QStringLiteral(" "));
        rs->setCollect(QStringLiteral("Category"), chosenBook());
        rs->Update();
    });
    // A refused row left nothing in the file: the window stays with everything typed, to be mended and saved again.
    if (!stored)
        return;
    // The row is stored now. Should re-reading the table fail, the window must not stay, or a second "Save" would
    // store the entry twice; the directory's own load then meets the same trouble.
    ErrorPath::runKeeping(this, [this] { datTel->Refresh(); });
    MDIForm1::showStatus(tr("Saved %1 in the %2 book.").arg(savedName(), cmbType->currentText()));
    WindowSwitch::switchTo(this, QStringLiteral("frmMain"));
}

QString frmAdd::chosenBook() const
{
    return cmbType->currentData().toString();
}

QString frmAdd::savedName() const
{
    const QString person = QStringList{txtFname->text(), txtLname->text()}.join(QLatin1Char(' ')).trimmed();
    const QString business = chosenBook() == Book::Business.name() ? txtBusName->text().trimmed() : QString();
    const QString name = business.isEmpty() ? person
                         : person.isEmpty() ? business
                                            : business + QStringLiteral(", ") + person;
    return name.isEmpty() ? tr("an entry without a name") : QStringLiteral("\"%1\"").arg(name);
}

void frmAdd::cmdBitul_Click()
{
    backToDirectory(false);
}
