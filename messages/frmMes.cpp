#include "messages/frmMes.h"

#include "app/ErrorPath.h"
#include "app/Fonts.h"
#include "app/MDIForm1.h"
#include "app/Module1.h"
#include "app/Twips.h"
#include "app/WindowSwitch.h"
#include "app/WrapButton.h"
#include "data/DateRules.h"
#include "data/GridModel.h"
#include "data/MessageLog.h"
#include "data/Query.h"
#include "messages/LogFilterBar.h"
#include "messages/MessageCommands.h"
#include "messages/MessageMarks.h"
#include "messages/MessageReader.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTextDocument>
#include <algorithm>

namespace {

// The locale's long time format without its time-zone field: a telephone message is noted in local time, and a
// zone name in the field would make the text unreadable when it is stored.
QString withoutTimeZone(const QString& format)
{
    QString result;
    bool quoted = false;
    for (const QChar ch : format) {
        if (ch == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || ch != QLatin1Char('t'))
            result += ch;
    }
    return result.trimmed();
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& bounds)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(Fonts::font(QStringLiteral("Times New Roman"), 12, true));
    // Labels size themselves to their caption: the stand-in faces run a little wider than the design's.
    label->setGeometry(QRect(bounds.topLeft(), bounds.size().expandedTo(label->sizeHint())));
    return label;
}

template <class W> W* makeControl(QWidget* parent, const char* name, const QRect& bounds)
{
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(bounds);
    return widget;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, const QRect& bounds)
{
    QPushButton* button = makeControl<WrapButton>(parent, name, bounds);
    button->setText(text);
    // Enter in the message moves on to "Save" and Enter there saves: a message is written from the keyboard alone.
    WorkingWindow::pressOnEnter(button);
    return button;
}

} // namespace

frmMes::frmMes(QWidget* parent) : WorkingWindow(parent), datTel(new DataControl(this)), dbgMes(new DataGrid(this))
{
    setFont(Fonts::font(QStringLiteral("MS Sans Serif"), 8.25));
    datTel->setObjectName(QStringLiteral("datTel"));

    setUpGrid();

    const QFont buttonFont = Fonts::font(QStringLiteral("David"), 12, true);
    cmdAdd = makeButton(this, "cmdAdd", tr("Add New Message"), twRect(4800, 360, 1335, 735));
    cmdAdd->setFont(buttonFont);
    cmdClose = makeButton(this, "cmdClose", tr("Close"), twRect(4800, 5760, 1335, 735));
    cmdClose->setFont(buttonFont);
    QPalette orange = cmdClose->palette();
    orange.setColor(QPalette::Button, QColor(255, 128, 0));
    cmdClose->setPalette(orange);

    Label5 = makeLabel(this, "Label5", tr("Date"), twRect(480, 240, 495, 285));
    txtCdate = makeControl<QLineEdit>(this, "txtCdate", twRect(480, 480, 975, 375));
    txtCdate->setInputMask(QStringLiteral("99/99/99;_"));
    Label2 = makeLabel(this, "Label2", tr("From"), twRect(2520, 240, 525, 285));
    txtMeet = makeControl<QLineEdit>(this, "txtMeet", twRect(2520, 480, 1575, 375));
    Label9 = makeLabel(this, "Label9", tr("Time"), twRect(480, 1080, 510, 285));
    txtCtime = makeControl<TimeLineEdit>(this, "txtCtime", twRect(480, 1320, 975, 375));
    txtCtime->setMaxLength(64);
    Label8 = makeLabel(this, "Label8", tr("To"), twRect(2520, 1080, 270, 285));
    txtAvur = makeControl<QLineEdit>(this, "txtAvur", twRect(2520, 1320, 1575, 375));
    Label6 = makeLabel(this, "Label6", tr("Message"), twRect(480, 1920, 930, 285));
    txtHodaa = makeControl<QPlainTextEdit>(this, "txtHodaa", twRect(480, 2160, 3615, 1335));
    txtHodaa->setFont(Fonts::font(QStringLiteral("David"), 11.25, true));
    txtHodaa->setTabChangesFocus(true);
    cmdSave = makeButton(this, "cmdSave", tr("Save"), twRect(720, 4320, 1335, 375));
    cmdBitul = makeButton(this, "cmdBitul", tr("Cancel"), twRect(2520, 4320, 1335, 375));

    // A screen reader names each field by the caption a sighted user reads above it.
    const std::pair<QLabel*, QWidget*> captions[] = {
        {Label5, txtCdate}, {Label2, txtMeet}, {Label9, txtCtime}, {Label8, txtAvur}, {Label6, txtHodaa}};
    for (const auto& [caption, field] : captions) {
        caption->setBuddy(field);
        field->setAccessibleName(caption->text());
    }

    QTableView* grid = dbgMes->view();
    const QList<QWidget*> tabOrder = {txtMeet,  txtAvur,  txtHodaa, cmdSave,  cmdBitul,
                                      txtCdate, txtCtime, cmdAdd,   cmdClose, grid};
    for (int i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));
    setTabOrder(cmdClose, m_filterBar->cmbFor);
    setTabOrder(m_filterBar->cmbFor, m_filterBar->chkOpen);
    setTabOrder(m_filterBar->chkOpen, m_filterBar->txtFind);
    setTabOrder(m_filterBar->txtFind, grid);

    connect(cmdAdd, &QPushButton::clicked, this, &frmMes::cmdAdd_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmMes::cmdClose_Click);
    connect(cmdBitul, &QPushButton::clicked, this, &frmMes::cmdBitul_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmMes::cmdSave_Click);
    for (QWidget* field : QList<QWidget*>{txtMeet, txtAvur, txtHodaa})
        field->installEventFilter(this);
}

void frmMes::setUpGrid()
{
    dbgMes->setObjectName(QStringLiteral("dbgMes"));
    dbgMes->setGeometry(twRect(120, 2640, 10815, 1815));
    dbgMes->setCaption(tr("Messages"));
    dbgMes->setModel(new GridModel(datTel,
                                   {{tr("Date"), QStringLiteral("Cdate"), 1080, QStringLiteral("Short Date")},
                                    {tr("Time"), QStringLiteral("Ctime"), 825, QStringLiteral("Short Time")},
                                    {tr("From"), QStringLiteral("Meet"), 1050, QString()},
                                    {tr("To"), QStringLiteral("Avur"), 1155, QString()},
                                    {tr("Message"), QStringLiteral("Hodaa"), 6165, QString()}},
                                   this));
    QTableView* grid = dbgMes->view();
    grid->setFont(Fonts::font(QStringLiteral("Times New Roman"), 9.75, true));
    // A wider window gives its width to the messages.
    dbgMes->setColumnsFollowWidth(tw(10815), true);
    // The time column is as wide as the locale's widest time; "Short Time" is written in the locale's own way.
    int timeWidth = 0;
    for (const char* time : {"23:58:58", "12:58:58", "20:58:58", "10:58:58"})
        timeWidth = std::max(
            timeWidth, grid->fontMetrics().horizontalAdvance(DateRules::shortTime(QLatin1String(time), QLocale())));
    dbgMes->setMinimumColumnWidth(1, timeWidth + 2 * grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8);
    // The row the user is on grows to show its From, To and message whole, wrapped in their columns; the others
    // keep one line each.
    grid->setWordWrap(true);
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, grid,
            [this, grid](const QModelIndex& current) {
                if (m_grownRow >= 0 && m_grownRow < grid->model()->rowCount())
                    grid->setRowHeight(m_grownRow, m_grownRowHeight);
                m_grownRow = current.row();
                if (m_grownRow < 0)
                    return;
                m_grownRowHeight = grid->rowHeight(m_grownRow);
                grid->setRowHeight(
                    m_grownRow,
                    std::max(m_grownRowHeight, static_cast<QAbstractItemView*>(grid)->sizeHintForRow(m_grownRow)));
            });
    // Reading, marks, the filter, export and printing, without a control of their own: the grid's context menu and
    // Ctrl+P (and the filter bar where the window has room for it).
    m_marks = new MessageMarks(this, datTel, dbgMes);
    m_filterBar = new LogFilterBar(this);
    m_filterBar->hide();
    connect(m_filterBar, &LogFilterBar::changed, this, &frmMes::applyFilter);
    // A message marked done leaves a list of open ones; the user stays where the list was.
    connect(m_marks, &MessageMarks::marked, this, [this, grid](MessageLog::Mark mark) {
        if (mark != MessageLog::Mark::Done || !m_filterBar->chkOpen->isChecked())
            return;
        const QModelIndex was = grid->currentIndex();
        applyFilter();
        const int rows = grid->model()->rowCount();
        if (was.isValid() && rows > 0)
            grid->setCurrentIndex(grid->model()->index(std::min(was.row(), rows - 1), was.column()));
    });
    auto* read = new QAction(tr("Read Message..."), this);
    connect(read, &QAction::triggered, this, [this, grid] { readMessage(grid->currentIndex().row()); });
    connect(dbgMes, &DataGrid::openRequested, this, &frmMes::readMessage);
    auto* commands = new MessageCommands(this, datTel);
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    grid->addAction(read);
    grid->addActions(m_marks->actions());
    grid->addActions(m_filterBar->actions());
    grid->addActions(commands->actions());
    const QFont headings = Fonts::font(QStringLiteral("MS Sans Serif"), 8.25);
    grid->horizontalHeader()->setFont(headings);
    dbgMes->captionBar()->setFont(headings);
    QPalette cells = grid->palette();
    cells.setColor(QPalette::Base, QColor(128, 255, 128));
    cells.setColor(QPalette::Text, QColor(0, 0, 128));
    grid->setPalette(cells);
}

QString frmMes::dateText(const QDate& date)
{
    return DateRules::maskText(date, DateRules::dateOrderOf(QLocale()));
}

QString frmMes::timeText(const QTime& time)
{
    const QLocale locale;
    const QString format = withoutTimeZone(locale.timeFormat(QLocale::LongFormat));
    const QString text = locale.toString(time, format);
    // Some locales write the time in words or in their own digits; what is filled in must be storable as it is.
    const std::optional<QTime> readBack = DateRules::parseTime(text, locale);
    const QTime wanted(time.hour(), time.minute(), time.second());
    if (format.contains(QLatin1Char('s')) && readBack && *readBack == wanted)
        return text;
    return wanted.toString(QStringLiteral("HH:mm:ss"));
}

void frmMes::setEntryViewVisible(bool entry)
{
    const QList<QWidget*> entryControls{Label2,   Label5,   Label6,   Label8,  Label9,   txtAvur,
                                        txtCdate, txtCtime, txtHodaa, txtMeet, cmdBitul, cmdSave};
    for (QWidget* control : entryControls)
        control->setVisible(entry);
    m_entryView = entry;
    // Below the room the view's controls take, the window scrolls.
    setDesignSize(entry ? QSize(tw(4335), tw(4935)) : QSize(tw(11055), tw(6615)));
}

void frmMes::resizeEvent(QResizeEvent* event)
{
    WorkingWindow::resizeEvent(event);
    relayout();
}

void frmMes::relayout()
{
    const QSize designed = designedClientSize();
    if (!designed.isValid())
        return;
    const int dx = std::max(0, width() - designed.width());
    const int dy = std::max(0, height() - designed.height());
    if (m_entryView) {
        m_filterBar->hide();
        txtHodaa->setGeometry(twRect(480, 2160, 3615, 1335).adjusted(0, 0, dx, dy));
        cmdSave->move(tw(720), tw(4320) + dy);
        cmdBitul->move(tw(2520), tw(4320) + dy);
    } else {
        dbgMes->setGeometry(twRect(120, 1320, 10815, 4215).adjusted(0, 0, dx, dy));
        // The filter bar takes the room a wider window leaves beside "Add New Message"; at the designed size the
        // grid's context menu has the same choices.
        const int width = tw(4800) + dx / 2 - tw(120) - tw(240);
        const bool room = dx > 0 && width >= m_filterBar->minimumSizeHint().width();
        m_filterBar->setVisible(room && !dbgMes->isHidden());
        const int bar = m_filterBar->sizeHint().height();
        m_filterBar->setGeometry(tw(120), tw(360) + (tw(735) - bar) / 2, std::max(width, 0), bar);
        cmdAdd->move(tw(4800) + dx / 2, tw(360));
        cmdClose->move(tw(4800) + dx / 2, tw(5760) + dy);
    }
}

void frmMes::Form_Load()
{
    // A larger frame gives the log its extra room.
    setBoundsTwips(300, 500, 11350, 7100, true);
    gDbPath = Module1::databasePath();
    datTel->setDatabaseName(gDbPath);
    // Messages another tool renumbered find their states again before the log shows them.
    MessageLog::retie(*Database::open(gDbPath));
    const Query log = Query::log();
    gRecordSource = log.statement();
    datTel->setRecordSource(log);
    datTel->Refresh();
    m_filterBar->setPeople(MessageLog::people(*datTel->database()));
    setEntryViewVisible(false);
    // The grid takes the room the entry fields have at design time.
    dbgMes->setGeometry(twRect(120, 1320, 10815, 4215));
    relayout();
    cmdAdd->setFocus();
    // Opened to show one message (a notice of the desktop was clicked).
    if (const QVariant message = WindowSwitch::argument(); message.isValid())
        showMessage(message.toLongLong());
}

bool frmMes::showInPlace(const QVariant& argument)
{
    return !m_entryView && showMessage(argument.toLongLong());
}

bool frmMes::holdsTyping() const
{
    return m_entryView && (txtMeet->isModified() || txtAvur->isModified() || txtHodaa->document()->isModified());
}

bool frmMes::showMessage(qint64 message)
{
    GridModel* model = dbgMes->model();
    int row = -1;
    ErrorPath::runKeeping(this, [&] { row = model->rowOfKey(message); });
    if (row < 0)
        return false;
    QTableView* grid = dbgMes->view();
    grid->setCurrentIndex(model->index(row, 2));
    grid->scrollTo(grid->currentIndex());
    readMessage(row);
    return true;
}

void frmMes::applyFilter()
{
    ErrorPath::runKeeping(this, [this] {
        LogFilter filter = m_filterBar->filter();
        // A file without states holds open messages only.
        if (filter.openOnly && !MessageLog::kept(*datTel->database()))
            filter.openOnly = false;
        const Query log = Query::log(filter);
        gRecordSource = log.statement();
        datTel->setRecordSource(log);
        datTel->Refresh();
    });
}

void frmMes::readMessage(int row)
{
    GridModel* model = dbgMes->model();
    if (row < 0 || row >= model->rowCount())
        return;
    const auto shown = [&](int column) { return model->index(row, column).data().toString(); };
    const MessageReader::Message message{shown(0), shown(1), shown(2), shown(3), shown(4), m_marks->stateOfRow(row)};
    QList<MessageLog::Caller> callers;
    ErrorPath::runKeeping(this, [&] { callers = MessageLog::callers(*datTel->database(), message.from); });
    auto* reader = new MessageReader(this, message, callers);
    reader->setAttribute(Qt::WA_DeleteOnClose);
    // The entry window takes the frame's place: the log unloads once the reader is gone.
    connect(reader, &MessageReader::openEntryRequested, this, [this](qint64 entry) {
        QMetaObject::invokeMethod(
            this, [this, entry] { WindowSwitch::switchTo(this, QStringLiteral("frmAdd"), entry); },
            Qt::QueuedConnection);
    });
    reader->show();
}

void frmMes::cmdAdd_Click()
{
    setBoundsTwips(6600, 1000, 4600, 5700);
    setEntryViewVisible(true);
    cmdAdd->hide();
    dbgMes->hide();
    cmdClose->hide();
    relayout();
    // One reading of the clock, so that a message noted at midnight does not get one day's date and the next
    // day's time.
    const QDateTime now = QDateTime::currentDateTime();
    txtCdate->setText(dateText(now.date()));
    txtCtime->setFullText(timeText(now.time()));
    txtMeet->setFocus();
}

void frmMes::cmdClose_Click()
{
    WindowSwitch::switchTo(this, QStringLiteral("frmMain"));
}

void frmMes::cmdBitul_Click()
{
    WindowSwitch::switchTo(this, QStringLiteral("frmMain"));
}

void frmMes::cmdSave_Click()
{
    // A date or time the user edited into something that is none ("31/02/26") is refused before anything is
    // written: the message says why, and the window keeps every field as typed so it can be mended.
    const bool stored = ErrorPath::runKeeping(this, [this] {
        ::Recordset* rs = datTel->Recordset();
        rs->AddNew();
        rs->setCollect(QStringLiteral("Meet"), txtMeet->text());
        rs->setCollect(QStringLiteral("Avur"), txtAvur->text());
        // The displayed text keeps the blanks of a partly erased date, which is refused rather than read as
        // another date.
        rs->setCollect(QStringLiteral("CDate"), txtCdate->displayText());
        rs->setCollect(QStringLiteral("Ctime"), txtCtime->fullText());
        rs->setCollect(QStringLiteral("Hodaa"), txtHodaa->toPlainText());
        rs->Update();
    });
    if (!stored)
        return;
    // The message is stored; a file that fails from here on is the general failure of the program.
    if (!ErrorPath::run([this] { datTel->Refresh(); }))
        return;
    MDIForm1::showStatus(txtMeet->text().trimmed().isEmpty()
                             ? tr("Saved the message.")
                             : tr("Saved the message from %1.").arg(txtMeet->text().simplified()));
    WindowSwitch::switchTo(this, QStringLiteral("frmMain"));
}

void frmMes::txtMeet_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        txtAvur->setFocus();
}

void frmMes::txtAvur_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        txtHodaa->setFocus();
}

void frmMes::txtHodaa_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        cmdSave->setFocus();
}

bool frmMes::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return WorkingWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const int KeyAscii = enter ? 13 : (key->text().isEmpty() ? 0 : key->text().at(0).unicode());
    if (KeyAscii == 0)
        return false;
    if (watched == txtMeet) {
        txtMeet_KeyPress(KeyAscii);
    } else if (watched == txtAvur) {
        txtAvur_KeyPress(KeyAscii);
    } else if (watched == txtHodaa) {
        if (enter && (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
            // A message of several lines is typed with Shift+Enter or Ctrl+Enter, which break the line.
            txtHodaa->insertPlainText(QStringLiteral("\n"));
            return true;
        }
        txtHodaa_KeyPress(KeyAscii);
        // Plain Enter moves on to "Save"; the line break it would type would end every message with one.
        return enter;
    }
    return false;
}
