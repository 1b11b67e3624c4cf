// What every working window offers beyond its designed controls: the box about the program in its context menus,
// and a name for a screen reader on every control that takes the focus.
#include "TempDatabase.h"
#include "WindowTest.h"
#include "app/About.h"
#include "app/MDIForm1.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/WindowSwitch.h"
#include "directory/frmMain.h"
#include "entry/frmAdd.h"
#include "messages/frmMes.h"

#include <QAccessible>
#include <QAction>
#include <QtTest>

class TestWindowAccess : public QObject
{
    Q_OBJECT
    TempDatabase m_db;
    std::unique_ptr<MDIForm1> m_frame;

    QWidget* show(const QString& window)
    {
        if (auto* current = WindowSwitch::current())
            current->unload();
        return WindowSwitch::show(window);
    }

private Q_SLOTS:
    void initTestCase()
    {
        WindowTest::setUpProgram({{"frmMain", [] { return new frmMain; }},
                                  {"frmAdd", [] { return new frmAdd; }},
                                  {"frmMes", [] { return new frmMes; }}});
        Module1::setProgramDirForTesting(m_db.dir());
        m_frame = std::make_unique<MDIForm1>();
        WindowSwitch::setFrame(m_frame.get());
    }
    void cleanupTestCase()
    {
        if (auto* current = WindowSwitch::current())
            current->unload();
        WindowSwitch::setFrame(nullptr);
    }
    void init() { WindowTest::startTest(); }

    void windows_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("menus"); // the widgets with a context menu of actions
        QTest::newRow("directory") << QStringLiteral("frmMain") << 2;
        QTest::newRow("entry") << QStringLiteral("frmAdd") << 1;
        QTest::newRow("messages") << QStringLiteral("frmMes") << 1;
    }

    void aboutEndsEveryContextMenu_data() { windows_data(); }
    void aboutEndsEveryContextMenu()
    {
        QFETCH(QString, window);
        QFETCH(int, menus);
        QWidget* shown = show(window);
        QVERIFY(shown);
        QList<QWidget*> candidates = shown->findChildren<QWidget*>();
        candidates << shown;
        QList<QWidget*> withMenus;
        for (QWidget* widget : candidates) {
            if (widget->contextMenuPolicy() == Qt::ActionsContextMenu)
                withMenus << widget;
        }
        QCOMPARE(withMenus.size(), menus);
        for (QWidget* widget : withMenus) {
            const QList<QAction*> actions = widget->actions();
            QVERIFY(!actions.isEmpty());
            // The entry comes last, set apart from the window's own commands when it has any.
            if (actions.size() > 1)
                QVERIFY(actions[actions.size() - 2]->isSeparator());
            actions.last()->trigger();
            const QStringList shownText = MessageBox::takeMessages();
            QCOMPARE(shownText, QStringList{About::text()});
            QVERIFY(shownText[0].contains(Module1::databaseLocation()));
            QVERIFY(shownText[0].contains(QStringLiteral("MIT")));
            QVERIFY(shownText[0].contains(QRegularExpression(QStringLiteral("\\b\\d+\\.\\d+"))));
        }
    }

    void everyFocusableControlHasItsOwnName_data() { windows_data(); }
    void everyFocusableControlHasItsOwnName()
    {
        QFETCH(QString, window);
        QWidget* shown = show(window);
        QVERIFY(shown);
        QHash<QString, QString> owners; // name -> the control that has it
        for (QWidget* widget : shown->findChildren<QWidget*>()) {
            // Hidden ones too (the message fields show on demand), but not a combo box's drop-down list: it belongs
            // to the box, which a screen reader names.
            if (widget->focusPolicy() == Qt::NoFocus || widget->window() != shown->window())
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            QVERIFY(accessible);
            const QString name = accessible->text(QAccessible::Name).trimmed();
            const QString control = widget->objectName() + QLatin1Char(' ') + widget->metaObject()->className() +
                                    QLatin1Char(' ') + widget->property("Index").toString();
            QVERIFY2(!name.isEmpty(), qPrintable(control));
            QVERIFY2(!owners.contains(name),
                     qPrintable(name + QStringLiteral(": ") + control + QStringLiteral(" and ") + owners.value(name)));
            owners.insert(name, control);
        }
        QVERIFY(owners.size() > 3);
    }
};

QTEST_MAIN(TestWindowAccess)
#include "tst_windowaccess.moc"
