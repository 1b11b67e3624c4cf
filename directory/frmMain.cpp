#include "directory/frmMain.h"

#include "app/DataGrid.h"
#include "app/ErrorPath.h"
#include "app/Fonts.h"
#include "app/MDIForm1.h"
#include "app/MaskEdBox.h"
#include "app/Module1.h"
#include "app/Twips.h"
#include "app/WindowSwitch.h"
#include "app/WrapButton.h"
#include "data/Book.h"
#include "data/BookLetters.h"
#include "data/GridModel.h"
#include "data/Query.h"
#include "data/SearchIndex.h"
#include "directory/BlockLabel.h"
#include "directory/ContactCommands.h"
#include "directory/LineControl.h"
#include "directory/ResultLines.h"
#include "directory/ShapeControl.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDropEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QMovie>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QSet>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <array>

namespace {

const QString kDavid = QStringLiteral("David");
const QString kTimes = QStringLiteral("Times New Roman");
const QString kSansSerif = QStringLiteral("MS Sans Serif");
constexpr int kAll = 27;

// The window's client area as designed: below it the window scrolls, beyond it the layout gives the room away.
constexpr int kDesignWidth = 11880;
constexpr int kDesignHeight = 8175;
// Height given beyond the design goes to the grid, and the share below to the result list: controls from the
// grid's bottom edge down move down with the grid, those from the result list's bottom edge down with the list.
constexpr int kGridBottom = 3200;
constexpr int kResultsBottom = 6200;
constexpr int kResultsShareOfHeight = 10; // one tenth
// Width given beyond the design goes to the grid and the banner: above the grid the book chooser moves right with
// its right edge, below it the advertisement block, beside the search area.
constexpr int kRightAboveGrid = 8000;
constexpr int kRightBelowGrid = 5400;

void setColors(QWidget* widget, QPalette::ColorRole backRole, const QColor& back, QPalette::ColorRole textRole,
               const QColor& text)
{
    QPalette palette = widget->palette();
    palette.setColor(backRole, back);
    palette.setColor(textRole, text);
    widget->setPalette(palette);
}

// A label that sizes itself to its text, on black like the window.
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, int left, int top, const QFont& font,
                  const QColor& color)
{
    auto* label = new BlockLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setAutoFillBackground(true);
    setColors(label, QPalette::Window, Qt::black, QPalette::WindowText, color);
    label->move(tw(left), tw(top));
    label->adjustSize();
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text, const QRect& bounds,
                        const QFont& font)
{
    auto* button = new WrapButton(parent);
    button->setText(text);
    button->setObjectName(name);
    button->setFont(font);
    button->setGeometry(bounds);
    // Every button here, the letters of the strip too, is pressed from the keyboard with Enter or Space.
    WorkingWindow::pressOnEnter(button);
    return button;
}

QVector<GridColumn> personalColumns()
{
    const QString general = QStringLiteral("General Number");
    // The numbers are typed into the entry window's mask, and stored in its form.
    const QString& mask = MaskEdBox::TelephoneMask;
    return {{frmMain::tr("Last"), QStringLiteral("Lname"), 2535, QString()},
            {frmMain::tr("First"), QStringLiteral("Fname"), 2760, QString()},
            {frmMain::tr("Tel - 1"), QStringLiteral("Tel1"), 1410, general, mask},
            {frmMain::tr("Tel - 2"), QStringLiteral("Tel2"), 1380, general, mask},
            {frmMain::tr("Cellular"), QStringLiteral("Pel"), 1395, general, mask},
            {frmMain::tr("Fax"), QStringLiteral("Fax"), 1350, general, mask}};
}

QVector<GridColumn> businessColumns()
{
    const QString general = QStringLiteral("General Number");
    const QString& mask = MaskEdBox::TelephoneMask;
    return {{frmMain::tr("Business"), QStringLiteral("BusName"), 3000, QString()},
            {frmMain::tr("First"), QStringLiteral("Fname"), 1140, QString()},
            {frmMain::tr("Last"), QStringLiteral("Lname"), 1185, QString()},
            {frmMain::tr("Tel - 1"), QStringLiteral("Tel1"), 1335, general, mask},
            {frmMain::tr("Tel - 2"), QStringLiteral("Tel2"), 1350, general, mask},
            {frmMain::tr("Cellular"), QStringLiteral("Pel"), 1410, general, mask},
            {frmMain::tr("Fax"), QStringLiteral("Fax"), 1410, general, mask}};
}

DataGrid* makeGrid(QWidget* parent, const QString& name, const QString& caption, int top)
{
    auto* grid = new DataGrid(parent);
    grid->setObjectName(name);
    grid->setCaption(caption);
    // The stored height; the load gives both grids their working place.
    grid->setGeometry(twRect(360, top, 11295, 915));
    const QFont headFont = Fonts::font(kSansSerif, 8.25);
    grid->captionBar()->setFont(headFont);
    QTableView* view = grid->view();
    view->setFont(Fonts::font(kSansSerif, 8.25, true));
    view->horizontalHeader()->setFont(headFont);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, QColor(192, 255, 255));
    palette.setColor(QPalette::Text, palette.color(QPalette::WindowText));
    view->setPalette(palette);
    // Rows divided by dark grey lines; the style would draw them a shade darker than the window, almost white.
    view->setStyleSheet(QStringLiteral("QTableView { gridline-color: rgb(128, 128, 128); }"));
    // Tab leaves the grid for the next control; the arrow keys move between its cells.
    view->setTabKeyNavigation(false);
    // Given more width, every column widens in proportion.
    grid->setColumnsFollowWidth(tw(11295), false);
    return grid;
}

QString contactBlock()
{
    return QStringList{frmMain::tr("Tovrin Directory"), frmMain::tr("12 Harbour Road"),
                       frmMain::tr("Haifa 3303112"),    QString(),
                       frmMain::tr("Tel 04 - 8123456"), frmMain::tr("Fax 04 - 8123457")}
        .join(QStringLiteral("\r\n"));
}

} // namespace

QString frmMain::searchPrompt()
{
    return tr("Type Here Words or Numbers for Search");
}

QString frmMain::bookCaption(const QString& book)
{
    // The stored name of a book is data; the chooser and the window's texts name it in the user's language.
    if (book == Book::Business.name())
        return tr("Business", "the book");
    if (book == Book::Personal.name())
        return tr("Personal", "the book");
    return book;
}

frmMain::frmMain(QWidget* parent) : WorkingWindow(parent)
{
    // Pictures and labels first: they lie beneath the controls that overlap them, as drawn-on decoration does.
    makeDecoration();
    datTel = new DataControl(this);
    datTel->setObjectName(QStringLiteral("datTel"));
    datSearch = new DataControl(this);
    datSearch->setObjectName(QStringLiteral("datSearch"));
    makeSearchArea();
    makeLetterStrip();
    makeButtons();
    dbgPer = makeGrid(this, QStringLiteral("dbgPer"), tr("Personal  -  Tovrin"), 2280);
    dbgBus = makeGrid(this, QStringLiteral("dbgBus"), tr("Business  -  Tovrin"), 1200);
    m_unbound = new DataControl(this);
    setGridSource(dbgPer, m_unbound);
    setGridSource(dbgBus, m_unbound);
    makeContextCommands();
    connect(cmdAdd, &QPushButton::clicked, this, [this] { ErrorPath::run([&] { cmdAdd_Click(); }); });
    connect(cmdMessages, &QPushButton::clicked, this, [this] { ErrorPath::run([&] { cmdMessages_Click(); }); });
    connect(cmdEnd, &QPushButton::clicked, this, [this] { cmdEnd_Click(); });
    setTabChain();

    setDesignSize(QSize(tw(kDesignWidth), tw(kDesignHeight)));
    const QSet<QWidget*> stretching{dbgPer, dbgBus, lstResult, DXGif2};
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        m_placed.append({child, child->geometry(), stretching.contains(child)});
}

void frmMain::makeDecoration()
{
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twRect(5760, 4080, 1095, 1335));
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap(QStringLiteral(":/tovrin/image1.jpg")));

    lblKesh = makeLabel(this, QStringLiteral("lblKesh"), tr("Pirsomet"), 6960, 4080, Fonts::font(kDavid, 11.25, true),
                        Qt::white);
    Label2 = makeLabel(this, QStringLiteral("Label2"), tr("Search Option"), 360, 3240,
                       Fonts::font(kDavid, 11.25, true, true), QColor(0, 255, 0));
    Label3 = makeLabel(this, QStringLiteral("Label3"), tr("Results"), 2160, 4320, Fonts::font(kDavid, 12, true, true),
                       QColor(0, 255, 255));
    Label1 = makeLabel(this, QStringLiteral("Label1"), tr("Choose Telephone Book"), 8520, 240,
                       Fonts::font(kDavid, 11.25, true), QColor(255, 0, 0));

    Shape1 = new ShapeControl(QStringLiteral("Shape1"), 5640, 3960, 3255, 1575, QColor(255, 128, 0), 2, this);
    const struct
    {
        int number, x1, y1, x2, y2;
    } lineTable[] = {
        {2, 4800, 3480, 4800, 6480}, {3, 360, 3480, 360, 6480},    {4, 360, 6480, 4800, 6480},
        {5, 360, 4200, 4800, 4200},  {6, 4800, 6480, 5160, 6240},  {7, 5160, 6240, 5160, 3240},
        {8, 5160, 6240, 4800, 6240}, {9, 4800, 4200, 5160, 3960},  {10, 4800, 3480, 5160, 3240},
        {11, 4800, 3480, 360, 3480}, {12, 5160, 3240, 1800, 3240},
    };
    for (const auto& l : lineTable) {
        lines.append(new LineControl(QStringLiteral("Line%1").arg(l.number), l.x1, l.y1, l.x2, l.y2,
                                     QColor(255, 255, 0), 3, this));
    }

    DXGif1 = new QLabel(this);
    DXGif1->setObjectName(QStringLiteral("DXGif1"));
    DXGif1->setGeometry(twRect(9120, 3960, 2535, 1935));
    DXGif2 = new QLabel(this);
    DXGif2->setObjectName(QStringLiteral("DXGif2"));
    DXGif2->setGeometry(twRect(3600, 6600, 8055, 1335));
    for (QLabel* gif : {DXGif1, DXGif2}) {
        gif->setAlignment(Qt::AlignCenter);
        gif->setAutoFillBackground(true);
        setColors(gif, QPalette::Window, Qt::black, QPalette::WindowText, Qt::white);
    }
}

void frmMain::makeSearchArea()
{
    results = new ResultLines(this);
    connect(results, &ResultLines::databaseError, this,
            [this](int number, const QString& description) { ErrorPath::report(number, description, this); });
    lstResult = new QListView(this);
    lstResult->setObjectName(QStringLiteral("lstResult"));
    lstResult->setGeometry(twRect(480, 4560, 4215, 1815));
    lstResult->setFont(Fonts::font(kDavid, 9.75, true));
    setColors(lstResult, QPalette::Base, QColor(255, 255, 192), QPalette::Text, QColor(0, 0, 192));
    // Every line has the same height, so the view lays out a million lines without asking for each.
    lstResult->setUniformItemSizes(true);
    lstResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstResult->setSelectionMode(QAbstractItemView::SingleSelection);
    // A list box cuts a long line at its edge; an ellipsis would change the text shown.
    lstResult->setTextElideMode(Qt::ElideNone);
    lstResult->setModel(results);

    txtMila = new QLineEdit(this);
    txtMila->setObjectName(QStringLiteral("txtMila"));
    txtMila->setGeometry(twRect(480, 3600, 4215, 375));
    txtMila->setFont(Fonts::font(kDavid, 11.25, true));
    setColors(txtMila, QPalette::Base, QColor(128, 0, 0), QPalette::Text, QColor(255, 255, 0));
    txtMila->installEventFilter(this);
}

void frmMain::makeLetterStrip()
{
    optOtGroup = new QButtonGroup(this);
    optOtGroup->setExclusive(true);
    optOt.fill(nullptr, kAll + 1);
    for (int index = 1; index <= kAll; ++index) {
        QRect bounds;
        QString caption;
        if (index <= 13) {
            bounds = twRect(360 + 480 * (index - 1), 120, 375, 375);
            caption = QChar(u'A' + (index - 1));
        } else if (index <= 26) {
            bounds = twRect(360 + 480 * (index - 14), 600, 375, 375);
            caption = QChar(u'A' + (index - 1));
        } else {
            bounds = twRect(6600, 120, 855, 855);
            caption = tr("All");
        }
        // The buttons of the strip share one name, as members of one control array; "Index" tells them apart.
        QPushButton* button = makeButton(this, QStringLiteral("optOt"), caption, bounds, Fonts::font(kTimes, 12, true));
        button->setProperty("Index", index);
        // Read alone, "A" says nothing of what the button does.
        button->setAccessibleName(index < kAll ? tr("Letter %1").arg(caption) : tr("All letters"));
        button->setCheckable(true);
        setColors(button, QPalette::Button, QColor(255, 192, 192), QPalette::ButtonText, Qt::black);
        optOtGroup->addButton(button, index);
        optOt[index] = button;
    }
    connect(optOtGroup, &QButtonGroup::idClicked, this, [this](int id) { ErrorPath::run([&] { optOt_Click(id); }); });
    // Tab enters the strip at the letter that is down and leaves it with the next Tab, as it does a group of
    // option buttons; the arrow keys move between the letters.
    connect(optOtGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        for (int index = 1; index <= kAll; ++index)
            optOt[index]->setFocusPolicy(index == id ? Qt::StrongFocus : Qt::ClickFocus);
    });
}

void frmMain::makeButtons()
{
    cmdMessages = makeButton(this, QStringLiteral("cmdMessages"), tr("Messages"), twRect(1920, 6720, 1215, 615),
                             Fonts::font(kDavid, 12, true));
    cmdAdd = makeButton(this, QStringLiteral("cmdAdd"), tr("Add New Number"), twRect(360, 6720, 1215, 615),
                        Fonts::font(kDavid, 12, true));

    cmbType = new QComboBox(this);
    cmbType->setObjectName(QStringLiteral("cmbType"));
    cmbType->setEditable(false);
    cmbType->setGeometry(twRect(8520, 480, 2295, 345));
    cmbType->setFont(Fonts::font(kDavid, 11.25, true));
    {
        QPalette palette = cmbType->palette();
        palette.setColor(QPalette::Button, QColor(192, 255, 192));
        palette.setColor(QPalette::Base, QColor(192, 255, 192));
        cmbType->setPalette(palette);
    }
    connect(cmbType, &QComboBox::activated, this, [this] { ErrorPath::run([&] { cmbType_Click(); }); });

    cmdEnd = makeButton(this, QStringLiteral("cmdEnd"), tr("Exit"), twRect(360, 7560, 2775, 375),
                        Fonts::font(kTimes, 12, true));

    // A screen reader names each control by the caption a sighted user reads beside it; the search box by the
    // prompt it shows, which says more than "Search Option".
    const std::pair<QLabel*, QWidget*> captions[] = {{Label2, txtMila}, {Label3, lstResult}, {Label1, cmbType}};
    for (const auto& [caption, field] : captions) {
        caption->setBuddy(field);
        field->setAccessibleName(caption->text());
    }
    txtMila->setAccessibleName(searchPrompt());
}

void frmMain::makeContextCommands()
{
    // Contacts in and out, without a control of their own: the grids' context menu, Ctrl+P, files dropped here.
    contacts = new ContactCommands(
        this, datTel, [this] { return cmbType->currentData().toString(); },
        [this] {
            if (m_boundGrid)
                m_boundGrid->model()->fetchAll();
        });
    connect(contacts, &ContactCommands::imported, this,
            [this](const QString& book, qint64 key) { ErrorPath::run([&] { showEntry(book, key); }); });
    // An entry opens in the entry window from its row and from its block of the search results.
    auto* open = new QAction(tr("Open Entry..."), this);
    open->setObjectName(QStringLiteral("actOpenEntry"));
    connect(open, &QAction::triggered, this, [this] {
        if (m_boundGrid && m_boundGrid->view()->currentIndex().isValid())
            openRow(m_boundGrid->view()->currentIndex().row());
    });
    auto* afterOpen = new QAction(this);
    afterOpen->setSeparator(true);
    for (DataGrid* grid : {dbgPer, dbgBus}) {
        grid->view()->setContextMenuPolicy(Qt::ActionsContextMenu);
        grid->view()->addActions({open, afterOpen});
        grid->view()->addActions(contacts->actions());
        connect(grid, &DataGrid::openRequested, this, [this, grid](int row) {
            if (grid == m_boundGrid)
                openRow(row);
        });
    }
    connect(lstResult, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        const qint64 key = results->keyOfBlock(index.row() / ResultLines::LinesPerBlock);
        if (key >= 0)
            openEntry(key);
    });
    setAcceptDrops(true);
}

void frmMain::setTabChain()
{
    // Tab order by tab index; labels, pictures and lines take no focus.
    QList<QWidget*> chain{txtMila, cmdEnd, cmbType, cmdAdd, cmdMessages, dbgPer->view(), dbgBus->view()};
    for (int index = 1; index <= kAll; ++index)
        chain.append(optOt[index]);
    chain.append(lstResult);
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
}

frmMain::~frmMain() = default;

void frmMain::Form_Load()
{
    for (DataGrid* grid : {dbgBus, dbgPer})
        designed(grid).moveTop(tw(1200));
    for (DataGrid* grid : {dbgBus, dbgPer})
        designed(grid).setHeight(tw(2000));
    relayout();

    for (const Book* book : Book::all())
        cmbType->addItem(bookCaption(book->name()), book->name());
    cmbType->setCurrentIndex(cmbType->findData(Book::Personal.name()));

    dbgBus->hide();
    dbgPer->show();
    bindVisibleGrid();

    gDbPath = Module1::databasePath();
    datTel->setDatabaseName(gDbPath);
    datSearch->setDatabaseName(gDbPath);
    // The search's copy of the file is brought in on a thread of its own from the start, so that a search typed the
    // moment the window is up finds it ready, or nearly.
    SearchIndex::forFile(gDbPath)->prepare();

    // Needs the database name set above: selecting "All" runs the filter, which fills the grid.
    selectOt(kAll);
    if (datTel->database() && datTel->database()->isReadOnly())
        ErrorPath::noticeReadOnly(gDbPath, this);

    playGif(DXGif1, Module1::besideProgram(QStringLiteral("Kesh1.gif")));
    playGif(DXGif2, Module1::besideProgram(QStringLiteral("engbaner.gif")));

    txtMila->setText(searchPrompt());

    lblKesh->setText(contactBlock());
    lblKesh->adjustSize();
    relayout();

    // The box with the lowest tab index takes the focus when the window shows; its focus handler selects the
    // prompt, so typing replaces it.
    txtMila->setFocus(Qt::TabFocusReason);

    // Back from an entry the entry window opened: its book, the entry chosen.
    const QVariantList opened = WindowSwitch::argument().toList();
    if (opened.size() == 2)
        showEntry(opened.at(0).toString(), opened.at(1).toLongLong());
}

void frmMain::cmbType_Click()
{
    if (cmbType->currentData().toString() == Book::Business.name()) {
        dbgBus->show();
        dbgPer->hide();
    } else {
        dbgBus->hide();
        dbgPer->show();
    }
    bindVisibleGrid();
    optOt_Click(kAll);
    // The strip shows "All" again; when a letter was down this runs the same statement once more.
    selectOt(kAll);
}

void frmMain::optOt_Click(int Index)
{
    if (Index < 1 || Index > kAll)
        return;
    // The book and the letter come from the combo box's two items and the buttons' captions, never from typing.
    const Book* book = Book::named(cmbType->currentData().toString());
    if (!book)
        return;
    const Query query = Index == kAll ? Query::book(*book) : Query::letter(*book, optOt[Index]->text());
    gRecordSource = query.statement();
    datTel->setRecordSource(query);
    datTel->Refresh();
    // The strip follows what the book holds each time the whole book shows: at the load, at a book switch, at "All".
    if (Index == kAll && datTel->database())
        showBookLetters(BookLetters::letters(BookLetters::of(*datTel->database(), *book)));
}

void frmMain::showBookLetters(const QStringList& letters)
{
    // The letters keep the strip's places from the first on; the places an alphabet has no letter for stay empty.
    for (int index = 1; index < kAll; ++index) {
        const bool used = index <= letters.size();
        const QString caption = used ? letters.at(index - 1) : QString();
        if (optOt[index]->text() == caption)
            continue;
        optOt[index]->setText(caption);
        optOt[index]->setAccessibleName(tr("Letter %1").arg(caption));
        optOt[index]->setHidden(!used);
    }
}

void frmMain::selectOt(int index)
{
    if (optOt[index]->isChecked())
        return;
    optOt[index]->setChecked(true);
    optOt_Click(index);
}

void frmMain::setGridSource(DataGrid* grid, DataControl* source)
{
    GridModel* previous = grid->model();
    grid->setModel(new GridModel(source, grid == dbgPer ? personalColumns() : businessColumns(), grid));
    // Gone at once, so it reads nothing more from its source.
    delete previous;
}

void frmMain::bindVisibleGrid()
{
    // Both grids show datTel, but a record set is one forward cursor that a grid reads as it scrolls: two grids
    // on it would split its rows between them. The visible grid reads it; the hidden one rests on a source that
    // never runs.
    DataGrid* shown = dbgBus->isHidden() ? dbgPer : dbgBus;
    if (shown == m_boundGrid)
        return;
    if (m_boundGrid)
        setGridSource(m_boundGrid, m_unbound);
    setGridSource(shown, datTel);
    m_boundGrid = shown;
}

void frmMain::showEntry(const QString& book, qint64 key)
{
    if (cmbType->currentData().toString() != book) {
        cmbType->setCurrentIndex(cmbType->findData(book));
        cmbType_Click();
    }
    QTableView* view = m_boundGrid->view();
    const int row = m_boundGrid->model()->rowOfKey(key);
    if (row < 0)
        return;
    const QModelIndex index = m_boundGrid->model()->index(row, 0);
    view->setCurrentIndex(index);
    view->scrollTo(index, QAbstractItemView::PositionAtCenter);
    view->setFocus(Qt::OtherFocusReason);
}

void frmMain::openRow(int row)
{
    qint64 key = -1;
    if (ErrorPath::runKeeping(this, [&] { key = m_boundGrid->model()->keyOfRow(row); }) && key >= 0)
        openEntry(key);
}

void frmMain::openEntry(qint64 key)
{
    WindowSwitch::switchTo(this, QStringLiteral("frmAdd"), key);
}

void frmMain::cmdAdd_Click()
{
    WindowSwitch::switchTo(this, QStringLiteral("frmAdd"));
}

void frmMain::cmdMessages_Click()
{
    WindowSwitch::switchTo(this, QStringLiteral("frmMes"));
}

void frmMain::cmdEnd_Click()
{
    MDIForm1::endProgram();
}

void frmMain::txtMila_KeyPress(quint16& KeyAscii)
{
    if (KeyAscii == 13)
        runSearch();
}

void frmMain::runSearch()
{
    const Query query = Query::search(txtMila->text());
    gRecordSource = query.statement();
    datSearch->setRecordSource(query);
    datSearch->Refresh();

    results->clear();
    {
        // Whatever was read before a failure stays listed.
        const auto announce = qScopeGuard([this] { results->flush(); });
        if (datSearch->foundRows().isReadable())
            results->appendFound(datSearch->foundRows());
        else
            results->appendRows(*datSearch->Recordset());
    }

    const QString searched = txtMila->text();
    txtMila->setText(searchPrompt());
    const int found = results->blockCount();
    MDIForm1::showStatus(found == 0   ? tr("No entry holds \"%1\".").arg(searched)
                         : found == 1 ? tr("1 entry holds \"%1\".").arg(searched)
                                      : tr("%Ln entries hold \"%1\".", nullptr, found).arg(searched));
    // Leaving the box and coming back runs its focus handler, which selects the prompt.
    cmbType->setFocus(Qt::OtherFocusReason);
    txtMila->setFocus(Qt::OtherFocusReason);
}

void frmMain::txtMila_GotFocus()
{
    txtMila->setSelection(0, int(txtMila->text().size()));
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtMila) {
        if (event->type() == QEvent::KeyPress) {
            // The key goes on to the box whatever the handler does: it is only observed here.
            const auto* key = static_cast<QKeyEvent*>(event);
            quint16 KeyAscii = 0;
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                KeyAscii = 13;
            else if (!key->text().isEmpty())
                KeyAscii = key->text().at(0).unicode();
            if (KeyAscii != 0)
                ErrorPath::run([&] { txtMila_KeyPress(KeyAscii); });
        } else if (event->type() == QEvent::FocusIn &&
                   static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            // The box's own context menu hands the focus back when it closes: the focus never left the box for
            // the user, and its Paste must go where the cursor was.
            txtMila_GotFocus();
            // A click gives the focus before the box handles the press, which then puts the cursor where the
            // mouse is; select again once the click is over, unless the mouse was dragged over some text.
            m_selectOnRelease = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   (m_selectOnRelease || txtMila->text() == searchPrompt())) {
            // The prompt is no text to edit: a click into it while the box already has the focus (as it has at
            // the start and after each search) selects it too, so typing replaces it.
            m_selectOnRelease = false;
            if (!txtMila->hasSelectedText())
                QTimer::singleShot(0, txtMila, [this] {
                    if (txtMila->hasFocus() && !txtMila->hasSelectedText())
                        txtMila_GotFocus();
                });
        } else if (event->type() == QEvent::FocusOut) {
            m_selectOnRelease = false;
        }
    }
    return WorkingWindow::eventFilter(watched, event);
}

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    const auto urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) {
            return url.isLocalFile() && ContactCommands::importable(url.toLocalFile());
        }))
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event)
{
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && ContactCommands::importable(url.toLocalFile()))
            files << url.toLocalFile();
    }
    event->acceptProposedAction();
    // After the drop has ended: the preview is a dialog of its own.
    QMetaObject::invokeMethod(
        this, [this, files] { contacts->importFiles(files); }, Qt::QueuedConnection);
}

bool frmMain::event(QEvent* event)
{
    // Back from another program, the book shows what was saved there meanwhile (another copy, another tool). The
    // frame is the window the system activates; it passes the activation on to the windows inside it.
    if (event->type() == QEvent::WindowActivate && datTel->Recordset())
        ErrorPath::run([&] { datTel->refreshIfChanged(); });
    return WorkingWindow::event(event);
}

void frmMain::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (isRightToLeft()) // the lines mirror with the controls (see WorkingWindow)
        painter.setTransform(QTransform(-1, 0, 0, 1, width(), 0));
    for (const LineControl* line : std::as_const(lines)) {
        line->paint(painter, placed(QPointF(line->X1(), line->Y1()) / twipsPerPixel),
                    placed(QPointF(line->X2(), line->Y2()) / twipsPerPixel));
    }
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    WorkingWindow::resizeEvent(event);
    relayout();
}

QRect& frmMain::designed(QWidget* widget)
{
    auto it = std::find_if(m_placed.begin(), m_placed.end(), [widget](const Placed& p) { return p.widget == widget; });
    Q_ASSERT(it != m_placed.end());
    return it->designed;
}

QPointF frmMain::placed(const QPointF& designed) const
{
    const int extraWidth = std::max(0, width() - tw(kDesignWidth));
    const int extraHeight = std::max(0, height() - tw(kDesignHeight));
    const int resultsShare = extraHeight / kResultsShareOfHeight;
    const bool belowGrid = designed.y() >= tw(kGridBottom);
    QPointF at = designed;
    if (designed.x() >= tw(belowGrid ? kRightBelowGrid : kRightAboveGrid))
        at.rx() += extraWidth;
    if (belowGrid)
        at.ry() += extraHeight - resultsShare;
    if (designed.y() >= tw(kResultsBottom))
        at.ry() += resultsShare;
    return at;
}

void frmMain::relayout()
{
    // At the designed size every control stands where it was designed. A control that stretches has both its
    // corners placed; any other moves with its top left corner and keeps its size.
    for (const Placed& p : std::as_const(m_placed)) {
        const QPointF topLeft = placed(p.designed.topLeft());
        if (!p.stretches) {
            p.widget->move(topLeft.toPoint());
            continue;
        }
        const QPointF bottomRight =
            placed(QPointF(p.designed.x() + p.designed.width(), p.designed.y() + p.designed.height()));
        p.widget->setGeometry(QRectF(topLeft, bottomRight).toRect());
    }
    update();
}

void frmMain::playGif(QLabel* view, const QString& path)
{
    // A missing or unreadable file leaves the view empty; the window works on without it.
    auto* movie = new QMovie(path, QByteArray(), view);
    if (!movie->isValid()) {
        delete movie;
        view->clear();
        return;
    }
    connect(movie, &QMovie::error, view, [view, movie] {
        movie->stop();
        view->clear();
    });
    view->setMovie(movie);
    movie->start();
}
