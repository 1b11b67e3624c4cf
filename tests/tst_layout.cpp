// The windows on a real screen (run under Xvfb at 1600x1000, once as it is and once with QT_SCALE_FACTOR=2): with
// room to spare the directory's grid and result list use it; with too little, every button of every window and
// dialog can still be reached, on the screen or by scrolling.
#include "TempDatabase.h"
#include "WindowTest.h"
#include "app/DataGrid.h"
#include "app/MDIForm1.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/Settings.h"
#include "app/SyncSettingsDialog.h"
#include "app/Twips.h"
#include "app/WindowSwitch.h"
#include "cli/Language.h"
#include "directory/ImportPreview.h"
#include "directory/frmMain.h"
#include "entry/frmAdd.h"
#include "messages/frmMes.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QListView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>
#include <memory>

namespace {

// Where a button can be seen: on the screen, or inside a scroll area that is on the screen and scrolls far enough
// to show it.
QString unreachable(const QAbstractButton* button)
{
    const QRect screen = button->screen()->geometry();
    const QScrollArea* scroll = nullptr;
    for (QWidget* outer = button->parentWidget(); outer && !scroll; outer = outer->parentWidget())
        scroll = qobject_cast<QScrollArea*>(outer);
    const QRect global(button->mapToGlobal(QPoint(0, 0)), button->size());
    if (!scroll)
        return screen.contains(global) ? QString() : QStringLiteral("off the screen");
    const QWidget* content = scroll->widget();
    const QRect inContent(button->mapTo(content, QPoint(0, 0)), button->size());
    const QRect viewport(scroll->viewport()->mapToGlobal(QPoint(0, 0)), scroll->viewport()->size());
    if (!content->rect().contains(inContent))
        return QStringLiteral("outside its scroll area's window");
    if (!screen.contains(viewport))
        return QStringLiteral("its scroll area is off the screen");
    if (scroll->horizontalScrollBar()->maximum() < content->width() - scroll->viewport()->width() ||
        scroll->verticalScrollBar()->maximum() < content->height() - scroll->viewport()->height())
        return QStringLiteral("its scroll area does not scroll to it");
    if (viewport.width() < 40 || viewport.height() < 40)
        return QStringLiteral("its scroll area is too small to show it");
    return QString();
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;
    TempDatabase* m_db = nullptr;
    MDIForm1* m_frame = nullptr;

    void verifyButtonsReachable(QWidget* window)
    {
        QVERIFY(window);
        QCoreApplication::processEvents();
        const auto buttons = window->findChildren<QAbstractButton*>();
        int checked = 0;
        for (const QAbstractButton* button : buttons) {
            if (!button->isVisibleTo(window) || qobject_cast<const QScrollBar*>(button->parentWidget()))
                continue;
            ++checked;
            const QString why = unreachable(button);
            QVERIFY2(why.isEmpty(),
                     qPrintable(QStringLiteral("%1 \"%2\": %3").arg(button->objectName(), button->text(), why)));
        }
        QVERIFY(checked > 0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The frame remembers its place in the user's settings: a folder of this test's own.
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        // As the program starts: the locale's language (English in the runs at both scales, Hebrew in the third).
        QVERIFY(Language::install());
        QGuiApplication::setLayoutDirection(Qt::LayoutDirectionAuto);
        WindowTest::setUpProgram({{"frmMain", [] { return new frmMain; }},
                                  {"frmAdd", [] { return new frmAdd; }},
                                  {"frmMes", [] { return new frmMes; }}});
        m_db = new TempDatabase;
        for (int i = 0; i < 40; ++i) {
            m_db->exec(QStringLiteral("INSERT INTO tblTel (Category, Fname, Lname, BusName, Tel1, Tel2, Pel, Fax) "
                                      "VALUES ('Personal', 'Ann', 'Name%1', ' ', '052 - 1234567', '052 - 1234567', "
                                      "'052 - 1234567', '052 - 1234567')")
                           .arg(i, 2, 10, QLatin1Char('0')));
        }
        m_db->close();
        Module1::setProgramDirForTesting(m_db->dir());
        m_frame = new MDIForm1;
        WindowSwitch::setFrame(m_frame);
        m_frame->showFillingScreen();
        // Without a window manager the frame takes the screen's working area itself, a moment later.
        const QRect available = m_frame->screen()->availableGeometry();
        QTRY_VERIFY(m_frame->frameGeometry().width() * 10 >= available.width() * 9 &&
                    m_frame->frameGeometry().height() * 10 >= available.height() * 9);
    }

    void cleanupTestCase()
    {
        delete m_frame;
        delete m_db;
    }

    // In Hebrew every window mirrors: the designed places are measured from the right, the grid's first column is
    // at the right, and every control stays inside its window; in English all stays as designed.
    void mirroredInHebrew()
    {
        const bool hebrew = Language::chosen() == QLatin1String("he");
        QCOMPARE(QGuiApplication::layoutDirection(), hebrew ? Qt::RightToLeft : Qt::LeftToRight);
        // Qt's own dialogs speak it too.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel") != QLatin1String("Cancel"), hebrew);
        auto* window = qobject_cast<frmMain*>(WindowSwitch::show(QStringLiteral("frmMain")));
        QVERIFY(window);
        QCoreApplication::processEvents();
        const QRect search = window->txtMila->geometry();
        if (hebrew)
            QCOMPARE(window->width() - search.x() - search.width(), tw(480));
        else
            QCOMPARE(search.x(), tw(480));
        // The exit button stands under the grid's first column: at its right in Hebrew.
        QCOMPARE(window->cmdEnd->x() > window->width() / 2, hebrew);
        const QHeaderView* header = window->dbgPer->view()->horizontalHeader();
        QCOMPARE(header->sectionViewportPosition(0) > header->sectionViewportPosition(1), hebrew);
        for (const QWidget* control : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (control->isVisibleTo(window))
                QVERIFY2(window->rect().contains(control->geometry()), qPrintable(control->objectName()));
        }
        QDir().mkpath(QStringLiteral(TOVRIN_SCREENS));
        m_frame->grab().save(QStringLiteral(TOVRIN_SCREENS "/layout_%1.png").arg(Language::chosen()));
        window->unload();
    }

    void directoryUsesTheScreen()
    {
        auto* window = qobject_cast<frmMain*>(WindowSwitch::show(QStringLiteral("frmMain")));
        QVERIFY(window);
        QCoreApplication::processEvents();
        QVERIFY(window->width() >= tw(11880) && window->height() >= tw(8175));
        const QSize screen = m_frame->screen()->size();
        if (screen.width() < 1600 || screen.height() < 1000) {
            // A small or scaled screen: the window keeps its designed size at least, and scrolls.
            verifyButtonsReachable(window);
            window->unload();
            return;
        }
        QTableView* grid = window->dbgPer->view();
        // The grid takes the height: at 1600x1000 at least 25 whole rows show.
        int whole = 0;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            whole += grid->viewport()->rect().contains(grid->visualRect(grid->model()->index(row, 0)));
        QVERIFY2(whole >= 25, qPrintable(QString::number(whole)));
        // ... and the width: every column whole, and wider than designed.
        QHeaderView* header = grid->horizontalHeader();
        for (int c = 0; c < header->count(); ++c)
            QVERIFY(header->sectionViewportPosition(c) + header->sectionSize(c) <= grid->viewport()->width());
        QVERIFY(header->sectionSize(0) > tw(2535));
        QVERIFY(window->dbgPer->width() > tw(11295));
        // The result list grows; what lies beneath the grid stays beneath it.
        QVERIFY(window->lstResult->height() > tw(1815));
        QVERIFY(window->txtMila->y() > window->dbgPer->geometry().bottom());
        QVERIFY(window->lstResult->geometry().bottom() < window->cmdAdd->y());
        verifyButtonsReachable(window);
        window->unload();
    }

    void buttonsReachable_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("entryView");
        QTest::newRow("directory") << "frmMain" << false;
        QTest::newRow("new entry") << "frmAdd" << false;
        QTest::newRow("message log") << "frmMes" << false;
        QTest::newRow("new message") << "frmMes" << true;
    }

    void buttonsReachable()
    {
        QFETCH(QString, window);
        QFETCH(bool, entryView);
        WorkingWindow* shown = WindowSwitch::show(window);
        QVERIFY(shown);
        if (entryView)
            shown->findChild<QAbstractButton*>(QStringLiteral("cmdAdd"))->click();
        QCoreApplication::processEvents();
        // The window lies inside the frame's client area.
        QMdiSubWindow* sub = shown->subWindow();
        QVERIFY(QRect(QPoint(0, 0), sub->mdiArea()->viewport()->size()).contains(sub->geometry()));
        verifyButtonsReachable(shown);
        shown->unload();
    }

    // With room to spare the entry window shows its controls whole, without scroll bars.
    void entryScrollsOnlyWithoutRoom()
    {
        if (m_frame->screen()->size().width() < 1600 || m_frame->screen()->size().height() < 1000)
            QSKIP("a small or scaled screen");
        WorkingWindow* shown = WindowSwitch::show(QStringLiteral("frmAdd"));
        QVERIFY(shown);
        QCoreApplication::processEvents();
        QVERIFY(shown->scrollArea());
        QVERIFY(!shown->scrollArea()->verticalScrollBar()->isVisible());
        QVERIFY(!shown->scrollArea()->horizontalScrollBar()->isVisible());
        shown->unload();
    }

    void syncSettingsFits()
    {
        SyncSettingsDialog dialog(m_frame);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        verifyButtonsReachable(&dialog);
    }

    void settingsFit()
    {
        const std::unique_ptr<QDialog> dialog(Settings::dialog(m_frame));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        verifyButtonsReachable(dialog.get());
    }

    // A file of many columns, its choosers, the entries and the summary all ask for room.
    void importPreviewFits()
    {
        QStringList header;
        QStringList values;
        for (int c = 1; c <= 38; ++c) {
            header << (c == 1 ? QStringLiteral("Last Name") : QStringLiteral("Custom %1").arg(c));
            values << QStringLiteral("v%1").arg(c);
        }
        const QString csv = m_db->dir() + QStringLiteral("/wide.csv");
        QFile file(csv);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            (header.join(QLatin1Char(',')) + QLatin1Char('\n') + values.join(QLatin1Char(',')) + QLatin1Char('\n'))
                .toUtf8());
        file.close();
        bool looked = false;
        ImportPreview::setNextLook([this, &looked](QDialog& preview) {
            preview.show();
            QVERIFY(QTest::qWaitForWindowExposed(&preview));
            verifyButtonsReachable(&preview);
            looked = true;
        });
        MessageBox::setNextAnswer(false);
        ImportPreview::ask(m_frame, {csv}, m_db->path());
        MessageBox::takeMessages();
        QVERIFY(looked);
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
